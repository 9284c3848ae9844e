// Portable text codecs: UTF-8 and the single-byte code pages the POSIX layer
// handles without any library. Pure functions, unit-tested on every host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Code page number for a POSIX character-set name such as "UTF-8",
// "ISO-8859-15" or "CP1252" (case, '-' and '_' do not matter). ASCII counts
// as UTF-8, as current run-time libraries treat the C locale. Returns 0 for
// a set this file has no codec for.
uint32_t CodePageFromCharsetName(std::string_view name);

// True when every byte below 0x80 is the ASCII character of that value in
// cp, whatever stands around it: UTF-8, the single-byte pages and the
// double-byte Asian pages. 0 (a POSIX locale's own charset) counts too, as
// every such charset extends ASCII.
bool CodePageKeepsAscii(uint32_t cp);

// True when text holds no byte of 0x80 or above.
bool IsAsciiText(std::string_view text);

// True for the code pages that Utf16FromCodePage/CodePageFromUtf16 handle.
bool CodePageHasCodec(uint32_t cp);

// The character whose first UTF-16 unit is text[i], with the number of
// units it takes: a surrogate pair is one character of two units; any other
// unit, a lone surrogate included, is itself.
char32_t CodePointAt(std::u16string_view text, size_t i, size_t& width);

// The same for the character whose last unit is text[end - 1].
char32_t CodePointBefore(std::u16string_view text, size_t end, size_t& width);

// True for U+D800-U+DFFF: half of a pair, never a character of its own.
inline bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Decodes text in cp (a code page with a codec). Each maximal invalid UTF-8
// subsequence becomes one U+FFFD; single-byte pages map every byte.
std::u16string Utf16FromCodePage(std::string_view text, uint32_t cp);

// Encodes UTF-16 into cp (a code page with a codec). A character the page
// lacks, and a lone surrogate, becomes "?".
std::string CodePageFromUtf16(std::u16string_view text, uint32_t cp);

// The upper-case form of a letter of the Latin, Greek or Cyrillic scripts
// (the letters whose case pairs are one to one); any other character comes
// back unchanged.
char32_t UpperCaseChar(char32_t c);

// Upper-cases text in cp (a code page with a codec) character by character;
// a character whose upper-case form would take another number of bytes is
// left as it is, so the result always has the length of text.
std::string UpperCaseSameLength(std::string_view text, uint32_t cp);
