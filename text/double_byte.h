// The East Asian multi-byte codesets that tokloc decodes itself, so that a
// locale in one of them needs no converter from the C library: GB18030
// (and GBK and GB2312, its subsets), Big5, EUC-KR, EUC-JP and Shift_JIS.
// Pure functions over tables generated from Python's codecs
// (scripts/make-double-byte-tables.py). Bytes below 0x80 are ASCII in all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/code_page.h"

// Decodes text in cp. A byte that does not start a valid character becomes
// its byte escape (see text/utf16.h) and decoding goes on with the next one.
std::u16string DecodeDoubleByte(std::string_view text, uint32_t cp);

// Encodes UTF-16 into cp. A character the page lacks, a lone surrogate and
// a byte escape become "?".
std::string EncodeDoubleByte(std::u16string_view text, uint32_t cp);
