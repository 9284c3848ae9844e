// The program's command-line arguments, split once and held for the
// driver and the core.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Splits one command-line string into tokens and drops the first (the
// program name as typed). Separators are the bytes 0x01-0x20; a double quote
// toggles quoting and adds nothing, and a pair of double quotes adds
// nothing and leaves the quote state alone. Every other byte, backslash
// included, is copied. A quote left open runs to the end of the line.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Reads the arguments from the platform once; call before ParamStr.
void LoadParams();

// Number of arguments after the program name.
int32_t ParamCount();

// Argument i (1-based); argument 0 is the running executable's full path,
// cut to 255 characters. An index beyond the count gives an empty text.
// The text stays valid until the next LoadParams.
std::string_view ParamStr(int32_t index);
