// Texts as the contents of JSON strings, in ASCII alone, so that they pass
// unchanged through every code page, console and pipe.
#pragma once

#include <cstddef>
#include <string_view>

// Puts text at out as the inside of a JSON string (no quotes) and returns
// the end: printable ASCII as it is, '"' and '\' escaped, and every other
// UTF-16 unit as \uXXXX (short escapes for \b \f \n \r \t). A character
// above U+FFFF is its surrogate pair; a byte escape (a byte that was no
// valid text) is its unit, \udc80-\udcff, as Python's "surrogateescape"
// writes it, and a lone surrogate itself. out has room for
// JsonUnitsRoom(text.size()) bytes.
char* PutJsonUnits(char* out, std::u16string_view text);

// The same for ASCII text.
char* PutJsonUnits(char* out, std::string_view ascii);

// The same for ASCII text that may be read up to readable (its end or past
// it): one of at most sixteen bytes with none to escape is copied as
// sixteen, with no branch for each byte; out then needs room for sixteen
// bytes more.
char* PutShortJsonUnits(char* out, std::string_view ascii, const char* readable);

// The most bytes PutJsonUnits puts for units units.
constexpr size_t JsonUnitsRoom(size_t units) { return 6 * units; }
