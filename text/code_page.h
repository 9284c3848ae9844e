// Code pages by number, and our own codecs for UTF-8, the single-byte
// pages and the East Asian multi-byte pages (double_byte.h), so that no
// locale needs a converter of the C library. Pure functions, unit-tested on
// every host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Code page numbers follow Windows' numbering on every platform.
constexpr uint32_t CodePageUtf8 = 65001;
constexpr uint32_t CodePageWindows1252 = 1252;
constexpr uint32_t CodePageLatin1 = 28591;
constexpr uint32_t CodePageLatin9 = 28605;
// UTF-16LE: the arguments of a Win32 process, and standard input after
// the byte-order mark FF FE. Its units are taken as they are: its text
// holds no byte escapes (but for an odd last byte).
constexpr uint32_t CodePageUtf16 = 1200;
// A POSIX locale's codeset that tokloc has no codec for (KOI8-R, CP1251,
// ISO-8859-7, EUC-TW, ...): ASCII stays ASCII, and every byte above 0x7F
// stands for itself, a byte escape, one character each.
constexpr uint32_t CodePageBytes = 0;

// A byte that is no valid text where it stands is kept as its byte escape
// (text/utf16.h).

// Code page number for a POSIX character-set name such as "UTF-8",
// "ISO-8859-15", "CP1252" or "EUC-JP" (case, '-' and '_' do not matter).
// ASCII counts as UTF-8, as the C locale of current C libraries is. Returns
// CodePageBytes for a set this library has no codec for.
uint32_t CodePageFromCharsetName(std::string_view name);

// True when every byte below 0x80 is the ASCII character of that value in
// cp, whatever stands around it, and every ASCII character is written as
// that byte: UTF-8, the single-byte pages, the double-byte Asian pages and
// CodePageBytes, but not UTF-7 or EBCDIC.
bool CodePageKeepsAscii(uint32_t cp);

// Decodes text in cp (any page above, or a double-byte page). In UTF-8 and
// the double-byte pages each byte that does not start a valid character
// becomes its byte escape; single-byte pages map every byte; UTF-16LE
// takes each two bytes as a unit and an odd last byte as its escape.
std::u16string DecodeFromCodePage(std::string_view text, uint32_t cp);

// Encodes UTF-16 into cp (a page DecodeFromCodePage reads, but UTF-16LE). A character the page
// lacks, a lone surrogate and a byte escape become "?".
std::string EncodeToCodePage(std::u16string_view text, uint32_t cp);

// The upper-case form of a letter of the Latin, Greek or Cyrillic scripts
// (the letters whose case pairs are one to one); any other character comes
// back unchanged.
char32_t UpperCaseChar(char32_t c);

// Upper-cases text in cp (a page DecodeFromCodePage reads) character by character;
// a character whose upper-case form would take another number of bytes is
// left as it is, so the result always has the length of text. Multi-byte
// pages other than UTF-8 upper-case their ASCII letters alone.
std::string UpperCaseSameLength(std::string_view text, uint32_t cp);
