// The process-wide date, time and number settings.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Every text starts empty and every number at 0; DefaultFormatSettings
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

// The values a process starts with, before any locale is read: English
// names, "/" and ":" separators, a fifty-year century window.
TFormatSettings DefaultFormatSettings();

// Reads every item of settings from the locale: texts in the ANSI code page,
// separators as their first byte, numbers from their decimal text. An item
// the locale does not supply takes its default ("/", "m/d/yy", "AM", ...);
// month and day names keep the names already held. The date patterns get
// "/" wherever the locale's own date separator stood.
void LoadLocaleSettings(uint32_t locale, TFormatSettings& settings);

// Asks for the start-up's locale steps, run when the process settings are
// first used: keep a copy in StartupFormatSettings, load the system-default
// locale, then fix the date separator "/" and the patterns "mm/dd/yyyy",
// "hh:nn:ss" and "dddd, mmmm dd, yyyy". Called by the core's start-up.
void ScheduleLocaleSettingsLoad();

// The settings every date and time text of the process is read and written
// with: the defaults, with the scheduled locale steps applied on
// first use, since only the banner reads them and loading a locale costs
// more than a whole search.
TFormatSettings& FormatSettings();

// The process settings as they stood before the locale load; empty until
// the load has run.
TFormatSettings& StartupFormatSettings();

// Empties StartupFormatSettings; run by the core's shutdown.
void ReleaseStartupFormatSettings();
