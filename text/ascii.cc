#include "text/ascii.h"

#include <cstdint>
#include <cstring>

std::string UpperCaseAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool IsAsciiText(std::string_view text) {
  // Sixteen bytes at a time: texts of 128 KiB are tested before every
  // search, and lines by the million with --lines.
  const char* p = text.data();
  size_t n = text.size();
  uint64_t high = 0;
  for (; n >= 16; p += 16, n -= 16) {
    uint64_t a, b;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    if ((a | b) & 0x8080808080808080u) return false;
  }
  if (n >= 8) {
    uint64_t a, b;  // the last eight, overlapping what was tested
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + n - 8, 8);
    high = a | b;
  } else {
    for (; n > 0; ++p, --n) high |= static_cast<unsigned char>(*p);
  }
  return (high & 0x8080808080808080u) == 0;
}
