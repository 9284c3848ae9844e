#include "core/format_settings.h"

#include "core/startup.h"

TFormatSettings RunTimeDefaultFormatSettings() {
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

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = RunTimeDefaultFormatSettings();
  ApplyPendingLocaleSettings(settings);
  return settings;
}
