#include "app/json_text.h"

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
