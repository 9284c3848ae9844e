#include "text/ascii.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

std::string UpperCaseAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool IsAsciiTextOutOfLine(std::string_view text) {
  // Sixteen bytes at a time, the last sixteen overlapping: texts of 128 KiB
  // are tested before every search, and lines by the million with --lines.
  const char* p = text.data();
  const size_t n = text.size();
  if (n < 16) {
    unsigned char high = 0;
    for (size_t i = 0; i < n; ++i) high |= static_cast<unsigned char>(p[i]);
    return high < 0x80;
  }
  // A long text stops at its first kilobyte with a byte above 0x7F.
  __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16));
  for (size_t i = 0; i + 16 < n;) {
    const size_t stop = std::min(n - 16, i + 1024);
    for (; i < stop; i += 16) high = _mm_or_si128(high, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
    if (_mm_movemask_epi8(high)) return false;
  }
  return _mm_movemask_epi8(high) == 0;
}
