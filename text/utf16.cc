#include "text/utf16.h"

namespace {

char32_t FromPair(char32_t lead, char32_t trail) { return 0x10000 + ((lead - 0xD800) << 10) + (trail - 0xDC00); }

}  // namespace

char32_t CodePointAt(std::u16string_view text, size_t i, size_t& width) {
  width = 1;
  const char32_t c = text[i];
  if (IsLeadSurrogate(c) && i + 1 < text.size() && IsTrailSurrogate(text[i + 1])) {
    width = 2;
    return FromPair(c, text[i + 1]);
  }
  return c;
}

char32_t CodePointBefore(std::u16string_view text, size_t end, size_t& width) {
  width = 1;
  const char32_t c = text[end - 1];
  if (IsTrailSurrogate(c) && end >= 2 && IsLeadSurrogate(text[end - 2])) {
    width = 2;
    return FromPair(text[end - 2], c);
  }
  return c;
}

char32_t EncodableCodePointAt(std::u16string_view text, size_t i, size_t& width) {
  const char32_t c = CodePointAt(text, i, width);
  return IsSurrogate(c) ? U'?' : c;
}

char16_t* PutUtf16(char16_t* out, char32_t c) {
  if (c < 0x10000) {
    *out++ = static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (c >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
  return out;
}

bool HoldsEscapeUnit(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i)
    if (IsByteEscape(text[i]) && !SplitsPairAt(text, i)) return true;
  return false;
}

std::u16string WithoutEscapeUnits(std::u16string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i)
    if (!IsByteEscape(text[i]) || SplitsPairAt(text, i)) out.push_back(text[i]);
  return out;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
  std::u16string units(bytes.size() / 2 + bytes.size() % 2, u'\0');
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  for (size_t i = 0; i < bytes.size() / 2; ++i) units[i] = static_cast<char16_t>(b[2 * i] | b[2 * i + 1] << 8);
  if (bytes.size() % 2) units.back() = ByteEscape(b[bytes.size() - 1]);
  return units;
}
