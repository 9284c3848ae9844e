// The command-line splitter: never crashes, never lets a double quote into
// an argument, and reads back any argument list written with quotes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/params.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  if (line.find('\0') != std::string::npos) return 0;  // a C string holds none
  const std::vector<std::string> args = SplitCommandLine(line);
  std::string rejoined = "prog";
  for (const std::string& arg : args) {
    if (arg.find('"') != std::string::npos) abort();
    rejoined += " \"" + arg + "\"";
  }
  if (SplitCommandLine(rejoined) != args) abort();
  return 0;
}
