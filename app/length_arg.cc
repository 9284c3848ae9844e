#include "app/length_arg.h"

#include <limits>

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

}  // namespace

int32_t ConvertLength(std::string_view text) {
  if (text.empty() || text.size() > 255) return 0;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned base = 10;
  if (i < text.size()) {
    const char c = text[i];
    if (c == '$' || c == 'x' || c == 'X') {
      base = 16;
      ++i;
    } else if (c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
      base = 16;
      i += 2;
    } else if (c == '&') {
      base = 8;
      ++i;
    } else if (c == '%') {
      base = 2;
      ++i;
    }
  }
  while (i + 1 < text.size() && text[i] == '0') ++i;
  if (i >= text.size()) return 0;

  // Decimal only needs to know whether it passed the 32-bit bound, so it
  // stops counting there; other bases fail past 64 bits.
  constexpr uint64_t DecimalCap = uint64_t{1} << 31;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const unsigned digit = static_cast<unsigned>(DigitValue(text[i]));
    if (digit >= base) return 0;
    if (base == 10) {
      if (value <= DecimalCap) value = value * 10 + digit;
    } else {
      if (value > (std::numeric_limits<uint64_t>::max() - digit) / base) return 0;
      value = value * base + digit;
    }
  }
  if (base == 10) {
    if (negative) return value >= DecimalCap ? std::numeric_limits<int32_t>::min() : -static_cast<int32_t>(value);
    return value >= DecimalCap ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
  }
  const uint64_t bits = negative ? 0 - value : value;
  return static_cast<int32_t>(static_cast<uint32_t>(bits & 0xFFFFFFFFu));
}
