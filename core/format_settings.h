// The process-wide date, time and number settings.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Every text starts empty and every number at 0; RunTimeDefaultFormatSettings
// gives the values a process starts with.
struct TFormatSettings {
  uint8_t CurrencyFormat = 0;
  uint8_t NegCurrFormat = 0;
  char ThousandSeparator = 0;
  char DecimalSeparator = 0;
  uint8_t CurrencyDecimals = 0;
  char DateSeparator = 0;
  char TimeSeparator = 0;
  char ListSeparator = 0;
  std::string CurrencyString;
  std::string ShortDateFormat;
  std::string LongDateFormat;
  std::string TimeAMString;
  std::string TimePMString;
  std::string ShortTimeFormat;
  std::string LongTimeFormat;
  std::array<std::string, 12> ShortMonthNames;
  std::array<std::string, 12> LongMonthNames;
  std::array<std::string, 7> ShortDayNames;  // Sunday first
  std::array<std::string, 7> LongDayNames;
  uint16_t TwoDigitYearCenturyWindow = 0;
};

// The run-time library's own start-up values (English names, "/" and ":"
// separators, a fifty-year century window).
TFormatSettings RunTimeDefaultFormatSettings();

// The settings every date and time text of the process is read and written
// with: the run-time defaults with the system's locale loaded over them by
// the core's start-up. Built on first use, since only the banner reads them
// and loading a locale costs more than a whole search.
TFormatSettings& FormatSettings();
