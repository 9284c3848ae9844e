// The stream reader: whatever the bytes and however the reads split them,
// the lines and the page taken from a byte-order mark are those of a plain
// reading of the whole input at once.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_input.h"
#include "text/code_page.h"

namespace {

constexpr uint32_t InputPage = CodePageWindows1252;

// The plain reading: a mark at the very start, then lines ended by LF (by
// the unit 0A 00 in UTF-16LE) with a CR right before it dropped, and a
// last line without one.
std::vector<std::string> ReferenceLines(std::string_view data, uint32_t& page) {
  page = InputPage;
  if (data.substr(0, 3) == "\xEF\xBB\xBF") {
    page = CodePageUtf8;
    data.remove_prefix(3);
  } else if (data.substr(0, 2) == "\xFF\xFE") {
    page = CodePageUtf16;
    data.remove_prefix(2);
  }
  const size_t unit = page == CodePageUtf16 ? 2 : 1;
  const std::string_view lf = unit == 2 ? std::string_view("\n\0", 2) : "\n";
  const std::string_view cr = unit == 2 ? std::string_view("\r\0", 2) : "\r";
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at = 0; at + unit <= data.size(); at += unit) {
    if (data.substr(at, unit) != lf) continue;
    size_t end = at;
    if (end - start >= unit && data.substr(end - unit, unit) == cr) end -= unit;
    lines.emplace_back(data.substr(start, end - start));
    start = at + unit;
  }
  if (start < data.size()) lines.emplace_back(data.substr(start));
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  // The first byte seeds the sizes of the reads.
  uint32_t seed = bytes[0];
  const std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  uint32_t expectedPage;
  const std::vector<std::string> expected = ReferenceLines(data, expectedPage);

  TTextChannelRec output;
  TLineInputRec in;
  OpenLineInput(in, output);
  in.CodePage = InputPage;  // whatever the environment says
  std::vector<std::string> lines;
  size_t fed = 0;
  for (;;) {
    std::string_view line;
    const TLineStep step = TakeByteOrderMark(in) ? TakeLine(in, line) : TLineStep::NeedMore;
    if (step == TLineStep::Line) {
      lines.emplace_back(line);
      continue;
    }
    if (step == TLineStep::NoMore) break;
    if (fed == data.size()) {
      in.AtEnd = true;
      continue;
    }
    seed = seed * 1103515245u + 12345u;
    const size_t chunk = std::min<size_t>(data.size() - fed, 1 + (seed >> 16) % (seed & 0x100 ? 4 : 64));
    std::memcpy(InputRoom(in, chunk), data.data() + fed, chunk);
    in.End += chunk;
    fed += chunk;
  }
  if (in.CodePage != expectedPage || lines != expected) abort();
  CloseLineInput(in);
  return 0;
}
