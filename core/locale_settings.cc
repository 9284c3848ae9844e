#include "core/locale_settings.h"

#include "platform/platform.h"

namespace {

// Locale item numbers (LCTYPE) as the operating system numbers them.
enum TLocaleItem : uint32_t {
  LocaleSList = 12,
  LocaleSDecimal = 14,
  LocaleSThousand = 15,
  LocaleSCurrency = 20,
  LocaleICurrDigits = 25,
  LocaleICurrency = 27,
  LocaleINegCurr = 28,
  LocaleSDate = 29,
  LocaleSTime = 30,
  LocaleSShortDate = 31,
  LocaleSLongDate = 32,
  LocaleITime = 35,
  LocaleITLZero = 37,
  LocaleS1159 = 40,
  LocaleS2359 = 41,
  LocaleSDayName1 = 42,        // Monday; 48 is Sunday
  LocaleSAbbrevDayName1 = 49,  // Monday; 55 is Sunday
  LocaleSMonthName1 = 56,
  LocaleSAbbrevMonthName1 = 68,
};

bool ReadText(uint32_t locale, uint32_t item, std::string& text) {
  std::u16string wide;
  if (!ReadLocaleText(locale, item, wide)) return false;
  text = WideToNarrow(wide, AnsiCodePage());
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

}  // namespace

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
