// tokloc's own codecs for every page it reads without the C library's
// converters: UTF-8, UTF-16LE, the single-byte pages, the East Asian
// multi-byte pages (text/double_byte.h), and bytes that stand for
// themselves. The POSIX layer decodes with them; the Win32 layer uses the
// system's conversions and links none of them. Pure functions, unit-tested
// on every host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/code_page.h"

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
