#include "text/codecs.h"

#include "text/ascii.h"
#include "text/double_byte.h"
#include "text/utf16.h"
#include "text/utf8.h"

namespace {

// Bytes 0x80-0xFF of the single-byte pages; 0x00-0x7F are ASCII in all.
// Eight a row, as the code chart has them.
// clang-format off
constexpr char16_t Windows1252High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};
// clang-format on

// ISO-8859-15 differs from Latin-1 in eight places only.
char16_t Latin9Char(unsigned char b) {
  switch (b) {
    case 0xA4: return 0x20AC;
    case 0xA6: return 0x0160;
    case 0xA8: return 0x0161;
    case 0xB4: return 0x017D;
    case 0xB8: return 0x017E;
    case 0xBC: return 0x0152;
    case 0xBD: return 0x0153;
    case 0xBE: return 0x0178;
    default: return b;
  }
}

char16_t SingleByteChar(unsigned char b, uint32_t cp) {
  if (b < 0x80) return b;
  if (cp == CodePageWindows1252) return Windows1252High[b - 0x80];
  if (cp == CodePageLatin9) return Latin9Char(b);
  return b;  // Latin-1
}

// Reverse lookup; the pages are small enough for a scan of the high half.
char SingleByteFromChar(char16_t c, uint32_t cp) {
  if (c < 0x80) return static_cast<char>(c);
  if (c <= 0xFF && SingleByteChar(static_cast<unsigned char>(c), cp) == c) return static_cast<char>(c);
  for (unsigned b = 0x80; b <= 0xFF; ++b)
    if (SingleByteChar(static_cast<unsigned char>(b), cp) == c) return static_cast<char>(b);
  return '?';
}

// Every byte above 0x7F stands for itself.
std::u16string DecodeBytes(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    out[i] = b < 0x80 ? b : ByteEscape(b);
  }
  return out;
}

}  // namespace

std::u16string DecodeFromCodePage(std::string_view text, uint32_t cp) {
  if (cp == CodePageUtf8) return DecodeUtf8(text);
  if (cp == CodePageUtf16) return DecodeUtf16Le(text);
  if (cp == CodePageBytes) return DecodeBytes(text);
  if (IsDoubleBytePage(cp)) return DecodeDoubleByte(text, cp);
  std::u16string out(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = SingleByteChar(static_cast<unsigned char>(text[i]), cp);
  return out;
}

std::string EncodeToCodePage(std::u16string_view text, uint32_t cp) {
  if (cp == CodePageUtf8) return EncodeUtf8(text);
  if (IsDoubleBytePage(cp)) return EncodeDoubleByte(text, cp);
  std::string out;
  out.reserve(text.size());
  size_t width;
  for (size_t i = 0; i < text.size(); i += width) {
    // A surrogate pair is one character the page lacks: one "?".
    const char32_t c = EncodableCodePointAt(text, i, width);
    if (cp == CodePageBytes)
      out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    else
      out.push_back(c > 0xFFFF ? '?' : SingleByteFromChar(static_cast<char16_t>(c), cp));
  }
  return out;
}

char32_t UpperCaseChar(char32_t c) {
  if (c < 0x80) return static_cast<unsigned char>(AsciiUpper(static_cast<char>(c)));
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A alternates capital and small letters, with the pairs
  // shifted by one in two stretches.
  if (c >= 0x100 && c <= 0x137) return (c & 1) ? c - 1 : c;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : c - 1;
  if (c >= 0x14A && c <= 0x177) return (c & 1) ? c - 1 : c;
  if (c == 0x17A || c == 0x17C || c == 0x17E) return c - 1;
  if (c == 0x192) return 0x191;
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

std::string UpperCaseSameLength(std::string_view text, uint32_t cp) {
  if (cp == CodePageBytes || IsDoubleBytePage(cp)) return UpperCaseAscii(text);
  std::string out(text);
  if (cp != CodePageUtf8) {
    for (char& b : out) {
      const char32_t c = SingleByteChar(static_cast<unsigned char>(b), cp);
      const char32_t u = UpperCaseChar(c);
      if (u != c && u <= 0xFFFF) {
        const char mapped = SingleByteFromChar(static_cast<char16_t>(u), cp);
        if (mapped != '?') b = mapped;
      }
    }
    return out;
  }
  // UTF-8: each well-formed character is re-encoded only when its
  // upper-case form has the same length.
  size_t i = 0;
  while (i < out.size()) {
    const unsigned char b = static_cast<unsigned char>(out[i]);
    const size_t len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (i + len > out.size()) break;
    const std::u16string wide = DecodeUtf8(std::string_view(out).substr(i, len));
    if (wide.size() == 1 && !IsSurrogate(wide[0])) {
      const std::string upper = EncodeUtf8(std::u16string(1, static_cast<char16_t>(UpperCaseChar(wide[0]))));
      if (upper.size() == len) out.replace(i, len, upper);
    }
    i += len;
  }
  return out;
}
