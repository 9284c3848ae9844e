#include "app/json_text.h"

#include <emmintrin.h>

#include <type_traits>

namespace {

template <typename TChar>
char* PutEscaped(char* out, std::basic_string_view<TChar> text) {
  static constexpr char Hex[] = "0123456789abcdef";
  for (const TChar c : text) {
    const char16_t u = static_cast<char16_t>(static_cast<std::make_unsigned_t<TChar>>(c));
    if (u >= 0x20 && u < 0x7F && u != '"' && u != '\\') {
      *out++ = static_cast<char>(u);
      continue;
    }
    *out++ = '\\';
    switch (u) {
      case '"': *out++ = '"'; break;
      case '\\': *out++ = '\\'; break;
      case '\b': *out++ = 'b'; break;
      case '\f': *out++ = 'f'; break;
      case '\n': *out++ = 'n'; break;
      case '\r': *out++ = 'r'; break;
      case '\t': *out++ = 't'; break;
      default:
        *out++ = 'u';
        for (int shift = 12; shift >= 0; shift -= 4) *out++ = Hex[(u >> shift) & 0xF];
    }
  }
  return out;
}

}  // namespace

char* PutJsonUnits(char* out, std::u16string_view text) { return PutEscaped(out, text); }
char* PutJsonUnits(char* out, std::string_view ascii) { return PutEscaped(out, ascii); }

char* PutShortJsonUnits(char* out, std::string_view ascii, const char* readable) {
  const size_t size = ascii.size();
  if (size <= 16 && ascii.data() && readable && readable - ascii.data() >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ascii.data()));
    const auto is = [&](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    // Compared as signed bytes, those from 0x80 on are below 0x20 too.
    const __m128i escaped =
        _mm_or_si128(_mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20)), is(0x7F)), _mm_or_si128(is('"'), is('\\')));
    if ((static_cast<unsigned>(_mm_movemask_epi8(escaped)) & ((1u << size) - 1)) == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
      return out + size;
    }
  }
  return PutEscaped(out, ascii);
}
