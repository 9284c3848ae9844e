// ASCII helpers: the 26 letters' case and a fast "is it all ASCII" test. No
// locale rules apply anywhere here.
#pragma once

#include <string>
#include <string_view>

// c with "a"-"z" mapped to "A"-"Z"; every other byte unchanged.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// c with "A"-"Z" mapped to "a"-"z"; every other byte unchanged.
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// text with every byte passed through AsciiUpper.
std::string UpperCaseAscii(std::string_view text);

// True when text holds no byte of 0x80 or above.
bool IsAsciiText(std::string_view text);
