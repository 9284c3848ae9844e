// Code pages by number and what is known of each without its codec: the
// name a POSIX locale gives it, and whether it keeps ASCII. The codecs
// themselves are text/codecs.h (tokloc's own, for POSIX) and text/utf8.h
// and text/utf16.h (the Unicode forms every platform needs). Pure
// functions, unit-tested on every host.
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

// The East Asian multi-byte codesets, as Windows numbers them.
constexpr uint32_t CodePageShiftJis = 932;
constexpr uint32_t CodePageGbk = 936;  // GBK, and GB2312 read as GBK
constexpr uint32_t CodePageBig5 = 950;
constexpr uint32_t CodePageEucJp = 51932;
constexpr uint32_t CodePageEucKr = 51949;
constexpr uint32_t CodePageGb18030 = 54936;

// True for the East Asian multi-byte pages above.
bool IsDoubleBytePage(uint32_t cp);

// Code page number for a POSIX character-set name such as "UTF-8",
// "ISO-8859-15", "CP1252" or "EUC-JP" (case, '-' and '_' do not matter).
// ASCII counts as UTF-8, as the C locale of current C libraries is. Returns
// CodePageBytes for a set this library has no codec for.
uint32_t CodePageFromCharsetName(std::string_view name);

// True when every ASCII character is written as the byte of its value in
// cp, and a text of bytes below 0x80 alone is that ASCII text: UTF-8, the
// single-byte pages, the double-byte Asian pages and CodePageBytes, but not
// UTF-7 or EBCDIC. So an ASCII token missing from a text's bytes is missing
// from the text. Not the other way round: in Shift_JIS, GBK and Big5 a
// trail byte may lie below 0x80 too (Shift_JIS 83 5C is one character), so
// a byte below 0x80 is that character only where no lead byte stands
// before it.
bool CodePageKeepsAscii(uint32_t cp);
