// ASCII helpers: the 26 letters' case and a fast "is it all ASCII" test. No
// locale rules apply anywhere here.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <string>
#include <string_view>

// c with "a"-"z" mapped to "A"-"Z"; every other byte unchanged.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// c with "A"-"Z" mapped to "a"-"z"; every other byte unchanged.
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// text with every byte passed through AsciiUpper.
std::string UpperCaseAscii(std::string_view text);

// True when text holds no byte of 0x80 or above. Inline for 16 to 64
// bytes, most lines: four overlapping loads, with no loop to leave.
bool IsAsciiTextOutOfLine(std::string_view text);
inline bool IsAsciiText(std::string_view text) {
  const size_t n = text.size();
  if (n < 16 || n > 64) return IsAsciiTextOutOfLine(text);
  const char* p = text.data();
  const auto at = [p](size_t i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)); };
  const __m128i high = _mm_or_si128(_mm_or_si128(at(0), at(std::min<size_t>(16, n - 16))),
                                    _mm_or_si128(at(std::min<size_t>(32, n - 16)), at(n - 16)));
  return _mm_movemask_epi8(high) == 0;
}
