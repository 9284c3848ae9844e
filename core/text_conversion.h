// UTF-16 text back to bytes, keeping the bytes that could not be decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// wide in code page cp, for text that was decoded from bytes in sourceCp:
// where cp is sourceCp, each byte escape (a byte that was no valid text
// there) is that byte again, so such text comes back byte for byte;
// elsewhere an escape is cp's default character. Every other character
// goes through the platform's conversion.
std::string NarrowFromWide(std::u16string_view wide, uint32_t cp, uint32_t sourceCp);
