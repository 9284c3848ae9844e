// UTF-16 code units and the characters they make.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True for U+D800-U+DFFF: half of a pair, never a character of its own.
inline bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
inline bool IsLeadSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsTrailSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// True when index i of text falls inside a surrogate pair: between its two
// units, where no cut and no match may begin or end.
inline bool SplitsPairAt(std::u16string_view text, size_t i) {
  return i > 0 && i < text.size() && IsLeadSurrogate(text[i - 1]) && IsTrailSurrogate(text[i]);
}

// The character whose first UTF-16 unit is text[i], with the number of
// units it takes: a surrogate pair is one character of two units; any other
// unit, a lone surrogate included, is itself.
char32_t CodePointAt(std::u16string_view text, size_t i, size_t& width);

// The same for the character whose last unit is text[end - 1].
char32_t CodePointBefore(std::u16string_view text, size_t end, size_t& width);

// CodePointAt for encoders: a lone surrogate, which no encoding can hold,
// comes back as "?".
char32_t EncodableCodePointAt(std::u16string_view text, size_t i, size_t& width);

// Writes the UTF-16 form of c (U+0000-U+10FFFF, no surrogate) at out and
// returns the unit after it: one unit, or a surrogate pair above U+FFFF.
char16_t* PutUtf16(char16_t* out, char32_t c);

// A byte that is no valid text where it stands (or in a page tokloc does
// not decode) is kept as a lone low surrogate, U+DC80-U+DCFF, one unit that
// matches only the same byte. Encoders write it as "?" (no page holds a
// lone surrogate); written back into the page it came from, it is the byte
// itself again. The second half of a surrogate pair can look like one:
// only a lone unit is an escape.
inline char16_t ByteEscape(unsigned char b) { return static_cast<char16_t>(0xDC00 | b); }
inline bool IsByteEscape(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }
inline char ByteOfEscape(char16_t unit) { return static_cast<char>(unit & 0xFF); }

// Texts from bytes hold byte escapes; texts that arrive as UTF-16 (the
// Win32 command line, UTF-16LE input) hold no bytes, and a lone
// U+DC80-U+DCFF there is an unpaired surrogate. The same unit means two
// things, so where two texts come from sources of both kinds it stands for
// nothing the other text can hold. These find and drop such units: a lone
// unit U+DC80-U+DCFF, never the second half of a pair.
bool HoldsEscapeUnit(std::u16string_view text);
std::u16string WithoutEscapeUnits(std::u16string_view text);

// UTF-16LE bytes as units; an odd last byte is its byte escape.
std::u16string DecodeUtf16Le(std::string_view bytes);
