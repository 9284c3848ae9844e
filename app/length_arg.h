// The requested-length argument.
#pragma once

#include <cstdint>
#include <string_view>

// Converts the third argument to a signed 32-bit length; any text that does
// not convert gives 0. Accepts leading blanks and tabs, one sign, a base
// prefix ("$", "x", "X" or "0x" for hex, "&" octal, "%" binary) and digits
// of that base, nothing else. A decimal value beyond the 32-bit range
// saturates to the bound of its sign; a hex, octal or binary value is a bit
// pattern and keeps its low 32 bits. Empty texts and texts over 255
// characters give 0.
int32_t ConvertLength(std::string_view text);
