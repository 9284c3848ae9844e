// Texts as JSON strings in ASCII alone, so that they pass unchanged
// through every code page, console and pipe.
#pragma once

#include <string>
#include <string_view>

// Appends text as a quoted JSON string: printable ASCII as it is, '"' and
// '\' escaped, and every other UTF-16 unit as \uXXXX (short escapes for
// \b \f \n \r \t). A character above U+FFFF is its surrogate pair; a byte
// escape (a byte that was no valid text) is its unit, \udc80-\udcff, as
// Python's "surrogateescape" writes it, and a lone surrogate itself.
void AppendJsonString(std::string& out, std::u16string_view text);

// The same for ASCII text.
void AppendJsonString(std::string& out, std::string_view ascii);
