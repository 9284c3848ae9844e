// Code pages by number, and our own codecs for UTF-8 and the single-byte
// pages the POSIX layer handles without any library. Pure functions,
// unit-tested on every host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Code page numbers follow Windows' numbering on every platform.
constexpr uint32_t CodePageUtf8 = 65001;
constexpr uint32_t CodePageWindows1252 = 1252;
constexpr uint32_t CodePageLatin1 = 28591;
constexpr uint32_t CodePageLatin9 = 28605;

// Code page number for a POSIX character-set name such as "UTF-8",
// "ISO-8859-15" or "CP1252" (case, '-' and '_' do not matter). ASCII counts
// as UTF-8, as the C locale of current C libraries is. Returns 0 for
// a set this file has no codec for.
uint32_t CodePageFromCharsetName(std::string_view name);

// True when every byte below 0x80 is the ASCII character of that value in
// cp, whatever stands around it: UTF-8, the single-byte pages and the
// double-byte Asian pages. 0 (a POSIX locale's own charset) counts too, as
// every such charset extends ASCII.
bool CodePageKeepsAscii(uint32_t cp);

// True for the code pages that DecodeFromCodePage/EncodeToCodePage handle.
bool CodePageHasCodec(uint32_t cp);

// Decodes text in cp (a code page with a codec). Each maximal invalid UTF-8
// subsequence becomes one U+FFFD; single-byte pages map every byte.
std::u16string DecodeFromCodePage(std::string_view text, uint32_t cp);

// Encodes UTF-16 into cp (a code page with a codec). A character the page
// lacks, and a lone surrogate, becomes "?".
std::string EncodeToCodePage(std::u16string_view text, uint32_t cp);

// The upper-case form of a letter of the Latin, Greek or Cyrillic scripts
// (the letters whose case pairs are one to one); any other character comes
// back unchanged.
char32_t UpperCaseChar(char32_t c);

// Upper-cases text in cp (a code page with a codec) character by character;
// a character whose upper-case form would take another number of bytes is
// left as it is, so the result always has the length of text.
std::string UpperCaseSameLength(std::string_view text, uint32_t cp);
