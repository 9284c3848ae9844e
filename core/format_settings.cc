#include "core/format_settings.h"

#include "core/process_record.h"
#include "core/text_conversion.h"
#include "platform/platform.h"

namespace {

bool ReadText(uint32_t locale, uint32_t item, std::string& text) {
  std::u16string wide;
  if (!ReadLocaleText(locale, item, wide)) return false;
  // Bytes of the locale's own codeset that tokloc cannot decode come back
  // as they were.
  text = NarrowFromWide(wide, AnsiCodePage(), AnsiCodePage());
  return true;
}

std::string TextOr(uint32_t locale, uint32_t item, const char* fallback) {
  std::string text;
  return ReadText(locale, item, text) ? text : std::string(fallback);
}

char CharOr(uint32_t locale, uint32_t item, char fallback) {
  std::string chars;
  if (!ReadLocaleChars(locale, item, chars)) return fallback;
  return chars.empty() ? '\0' : chars[0];
}

// The decimal value of text; false when it is no number.
bool ReadDecimal(const std::string& text, int64_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size() || text.size() - i > 9) return false;
  value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  return true;
}

int64_t NumberOr(uint32_t locale, uint32_t item, int64_t fallback) {
  std::string text;
  if (!ReadText(locale, item, text)) return fallback;
  int64_t value;
  return ReadDecimal(text, value) ? value : 0;
}

std::string WithSlashes(std::string pattern, char separator) {
  if (separator != '/')
    for (char& c : pattern)
      if (c == separator) c = '/';
  return pattern;
}

// The process settings: the defaults are put in on first use.
TProcessRec<TFormatSettings> ProcessSettingsStorage;
TProcessRec<TFormatSettings> StartupSettingsStorage;
bool LocaleLoadPending = false;

}  // namespace

TFormatSettings DefaultFormatSettings() {
  TFormatSettings s;
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 0;
  s.ThousandSeparator = ',';
  s.DecimalSeparator = '.';
  s.CurrencyDecimals = 2;
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ListSeparator = ',';
  s.CurrencyString = "$";
  s.ShortDateFormat = "m/d/yyyy";
  s.LongDateFormat = "dddd, mmmm d, yyyy";
  s.TimeAMString = "AM";
  s.TimePMString = "PM";
  s.ShortTimeFormat = "h:nn AMPM";
  s.LongTimeFormat = "h:nn:ss AMPM";
  s.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  s.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                      "July",    "August",   "September", "October", "November", "December"};
  s.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  s.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}

void ScheduleLocaleSettingsLoad() { LocaleLoadPending = true; }

void ReleaseStartupFormatSettings() { ReleaseProcessRecord(StartupSettingsStorage); }

TFormatSettings& StartupFormatSettings() { return ProcessRecord(StartupSettingsStorage); }

TFormatSettings& FormatSettings() {
  const bool firstUse = !ProcessRecordMade(ProcessSettingsStorage);
  TFormatSettings& settings = ProcessRecord(ProcessSettingsStorage);
  if (firstUse) settings = DefaultFormatSettings();
  if (LocaleLoadPending) {
    LocaleLoadPending = false;
    StartupFormatSettings() = settings;
    LoadLocaleSettings(LocaleSystemDefault, settings);
    settings.DateSeparator = '/';
    settings.ShortDateFormat = "mm/dd/yyyy";
    settings.ShortTimeFormat = "hh:nn:ss";
    settings.LongDateFormat = "dddd, mmmm dd, yyyy";
  }
  return settings;
}

void LoadLocaleSettings(uint32_t locale, TFormatSettings& s) {
  for (uint32_t m = 0; m < 12; ++m) {
    ReadText(locale, LocaleSAbbrevMonthName1 + m, s.ShortMonthNames[m]);
    ReadText(locale, LocaleSMonthName1 + m, s.LongMonthNames[m]);
  }
  // The locale counts days from Monday, the settings from Sunday.
  for (uint32_t d = 0; d < 7; ++d) {
    const uint32_t fromMonday = (d + 6) % 7;
    ReadText(locale, LocaleSAbbrevDayName1 + fromMonday, s.ShortDayNames[d]);
    ReadText(locale, LocaleSDayName1 + fromMonday, s.LongDayNames[d]);
  }

  s.DateSeparator = CharOr(locale, LocaleSDate, '/');
  s.ShortDateFormat = WithSlashes(TextOr(locale, LocaleSShortDate, "m/d/yy"), s.DateSeparator);
  s.LongDateFormat = WithSlashes(TextOr(locale, LocaleSLongDate, "mmmm d, yyyy"), s.DateSeparator);
  s.TimeSeparator = CharOr(locale, LocaleSTime, ':');
  s.TimeAMString = TextOr(locale, LocaleS1159, "AM");
  s.TimePMString = TextOr(locale, LocaleS2359, "PM");

  const std::string hour = NumberOr(locale, LocaleITLZero, 0) != 0 ? "hh" : "h";
  // A missing clock item reads as "0", a 12-hour clock; a text that is no
  // number counts as a 24-hour clock.
  int64_t clock = 1;
  if (!ReadDecimal(TextOr(locale, LocaleITime, "0"), clock)) clock = 1;
  const char* ampm = clock == 0 ? " AMPM" : "";
  s.ShortTimeFormat = hour + ":nn" + ampm;
  s.LongTimeFormat = hour + ":nn:ss" + ampm;

  s.CurrencyString = TextOr(locale, LocaleSCurrency, "");
  s.CurrencyFormat = static_cast<uint8_t>(NumberOr(locale, LocaleICurrency, 0));
  s.NegCurrFormat = static_cast<uint8_t>(NumberOr(locale, LocaleINegCurr, 0));
  s.ThousandSeparator = CharOr(locale, LocaleSThousand, ',');
  s.DecimalSeparator = CharOr(locale, LocaleSDecimal, '.');
  s.CurrencyDecimals = static_cast<uint8_t>(NumberOr(locale, LocaleICurrDigits, 0));
  s.ListSeparator = CharOr(locale, LocaleSList, ',');
}
