// Turning POSIX locale data (strftime formats, localeconv fields) into the
// Win32-style locale items the core reads; used by the POSIX layer alone.
// Pure functions.
#pragma once

#include <string>
#include <string_view>

// The picture pattern of a strftime date format: "%d.%m.%Y" gives
// "dd.mm.yyyy", "%m/%d/%y" gives "mm/dd/yy".
std::string PictureFromStrftime(std::string_view format);

// The separator between the first two conversions of a strftime format,
// blanks trimmed unless it is a blank: "." for "%d.%m.%Y". Empty when that
// is not one ASCII character ("%Y年%m月" has none).
std::string SeparatorFromStrftime(std::string_view format);

// "1" when the format writes hours with a leading zero, else "0".
std::string HourLeadingZeroItem(std::string_view timeFormat);

// "1" for a 24-hour clock, "0" for a 12-hour one.
std::string ClockItem(std::string_view timeFormat);

// The Win32 currency format numbers for localeconv's fields.
int PositiveCurrencyFormat(int csPrecedes, int sepBySpace);
int NegativeCurrencyFormat(int csPrecedes, int sepBySpace, int signPosn);
