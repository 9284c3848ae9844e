// The length conversion against a plain reference of its rules.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/length_arg.h"

namespace {

int32_t Reference(const std::string& s) {
  if (s.empty() || s.size() > 255) return 0;
  size_t i = s.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (s[i] == '-' || s[i] == '+') negative = s[i++] == '-';
  int base = 10;
  if (i < s.size()) {
    if (s[i] == '$' || s[i] == 'x' || s[i] == 'X') {
      base = 16;
      ++i;
    } else if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
      base = 16;
      i += 2;
    } else if (s[i] == '&') {
      base = 8;
      ++i;
    } else if (s[i] == '%') {
      base = 2;
      ++i;
    }
  }
  if (i >= s.size()) return 0;
  unsigned __int128 value = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    int d = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : 99;
    if (d >= base) return 0;
    value = value * base + d;
    if (value > (static_cast<unsigned __int128>(1) << 80)) value = static_cast<unsigned __int128>(1) << 80;
  }
  if (base == 10) {
    if (negative) return value >= (1u << 31) ? INT32_MIN : -static_cast<int32_t>(value);
    return value >= (1u << 31) ? INT32_MAX : static_cast<int32_t>(value);
  }
  if (value > UINT64_MAX) return 0;
  const uint64_t bits = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  return static_cast<int32_t>(static_cast<uint32_t>(bits));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (ConvertLength(text) != Reference(text)) abort();
  return 0;
}
