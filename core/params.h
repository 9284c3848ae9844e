// The program's command-line arguments, split once and held for the
// driver and the core.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Splits one command-line string into tokens and drops the first (the
// program name as typed). Separators are the units 0x01-0x20; a double
// quote toggles quoting and adds nothing, and a pair of double quotes adds
// nothing and leaves the quote state alone. Every other unit, backslash
// included, is copied. A quote left open runs to the end of the line.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

// Reads the arguments from the platform once; call before ParamStr.
void LoadParams();

// Number of arguments after the program name.
int32_t ParamCount();

// Argument i (1-based) as narrow text in the ANSI code page: on POSIX the
// bytes as they came; on Win32 each split argument converted on its own,
// where a character the page lacks becomes its best fit or default
// character. Argument 0 is the running executable's full path, cut to 255
// characters (ParamText(0) in the ANSI page). An index beyond the count
// gives an empty text. The text stays valid until the next LoadParams.
std::string_view ParamStr(int32_t index);

// Argument i as the user typed it, as UTF-16: on Win32 as split from the
// UTF-16 command line, with no trip through the ANSI code page; on POSIX
// decoded from the locale's encoding, a byte that is no valid text kept as
// its byte escape. Argument 0 is the running executable's full path, cut
// to 255 UTF-16 units, or 256 where the cut would split a surrogate pair.
// An index beyond the count gives an empty text.
std::u16string ParamText(int32_t index);

// A text taken from the arguments (ParamText) in the ANSI code page: its
// byte escapes are the bytes they came from again.
std::string AnsiFromParamText(std::u16string_view text);

// True when argument i (1-based) holds ASCII characters only; ascii is then
// the argument as bytes, valid until the next LoadParams. An index beyond
// the count is the empty text, which is ASCII.
bool ParamAscii(int32_t index, std::string_view& ascii);

// The code page the bytes of ParamStr are in: the ANSI page.
uint32_t ParamStrCodePage();

// The code page the byte escapes of ParamText come from: the ANSI page on
// POSIX, CodePageUtf16 (no bytes at all) on Win32.
uint32_t ParamCodePage();
