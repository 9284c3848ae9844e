// Date-time values and their texts. A value counts days since 30 December
// 1899 (day 0); the time of day is the fraction of a day.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/format_settings.h"

using TDateTime = double;

struct TDateTimePartsRec {
  int Year = 1899, Month = 12, Day = 30, DayOfWeek = 6;  // DayOfWeek: 0 Sunday
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// False for a day or time that does not exist.
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);

// A date and a time of day together; before day 0 the time counts forward
// from the date all the same.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

TDateTimePartsRec DecodeDateTime(TDateTime value);

// Writes value by a picture pattern: "yyyy"/"yy" year, "m"/"mm" month,
// "mmm"/"mmmm" month name, "d"/"dd" day, "ddd"/"dddd" day name, "h"/"hh"
// hour (24-hour clock), "n"/"nn" minutes, "s"/"ss" seconds, "z"/"zzz"
// milliseconds, "/" the date separator, ":" the time separator; text in
// double or single quotes prints unchanged, any other letter in upper case,
// everything else as it stands. Pattern letters are read in either case.
std::string FormatDateTime(std::string_view pattern, TDateTime value, const TFormatSettings& settings);

// Reads a date ("up to three numbers and the date separator, ordered as in
// ShortDateFormat"), a time ("h:n[:s[.zzz]]"), or a date, white space and a
// time. Missing year or month come from today. False if unreadable.
bool TryReadDate(std::string_view text, const TFormatSettings& settings, TDateTime& value);
bool TryReadTime(std::string_view text, const TFormatSettings& settings, TDateTime& value);
bool TryReadDateTime(std::string_view text, const TFormatSettings& settings, TDateTime& value);

// Reads a date-and-time text whose seconds may carry a fraction of any
// length (cut or padded to milliseconds); a time without a date is given
// today's date, taken from the local clock and written with
// fallbackDateFormat. False if the text does not read.
bool TextToDateTime(std::string_view text, std::string_view fallbackDateFormat, const TFormatSettings& settings,
                    TDateTime& value);
