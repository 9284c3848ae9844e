#include "text/ascii.h"

#include <cstdint>
#include <cstring>

std::string UpperCaseAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool IsAsciiText(std::string_view text) {
  // Eight bytes at a time: texts of 128 KiB are tested before every search.
  size_t i = 0;
  for (; text.size() - i >= 8; i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if (word & 0x8080808080808080u) return false;
  }
  for (; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  return true;
}
