// The command-line splitter: never crashes, never lets a double quote into
// an argument, and reads back any argument list written with quotes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/params.h"

// Input: UTF-16 units, two bytes each.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string line;
  for (size_t i = 0; i + 1 < size; i += 2) line.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  if (line.find(u'\0') != std::u16string::npos) return 0;  // a command line holds none
  const std::vector<std::u16string> args = SplitCommandLine(line);
  std::u16string rejoined = u"prog";
  for (const std::u16string& arg : args) {
    if (arg.find(u'"') != std::u16string::npos) abort();
    rejoined += u" \"" + arg + u"\"";
  }
  if (SplitCommandLine(rejoined) != args) abort();
  return 0;
}
