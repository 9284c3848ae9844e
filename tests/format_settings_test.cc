#include "core/format_settings.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"

namespace {

TEST(LoadLocaleSettings, TakesTheDefaultsForMissingItems) {
  ResetFake();
  TFormatSettings s = DefaultFormatSettings();
  s.ShortMonthNames[4] = "Held";
  LoadLocaleSettings(LocaleSystemDefault, s);
  EXPECT_EQ(s.ShortMonthNames[4], "Held");  // names keep what they were
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.ShortDateFormat, "m/d/yy");
  EXPECT_EQ(s.LongDateFormat, "mmmm d, yyyy");
  EXPECT_EQ(s.TimeSeparator, ':');
  EXPECT_EQ(s.TimeAMString, "AM");
  EXPECT_EQ(s.TimePMString, "PM");
  EXPECT_EQ(s.ShortTimeFormat, "h:nn AMPM");  // a missing clock item means 12 hours
  EXPECT_EQ(s.LongTimeFormat, "h:nn:ss AMPM");
  EXPECT_EQ(s.CurrencyString, "");
  EXPECT_EQ(s.CurrencyDecimals, 0);
  EXPECT_EQ(s.ThousandSeparator, ',');
  EXPECT_EQ(s.DecimalSeparator, '.');
  EXPECT_EQ(s.ListSeparator, ',');
}

TEST(LoadLocaleSettings, ReadsWhatTheLocaleSupplies) {
  ResetFake();
  Fake.AnsiCp = CodePageWindows1252;
  Fake.LocaleTexts = {
      {LocaleSAbbrevMonthName1 + 2, u"Mär"},
      {LocaleSMonthName1 + 2, u"März"},
      {LocaleSAbbrevDayName1 + 6, u"So"},
      {LocaleSAbbrevDayName1, u"Mo"},
      {LocaleSDayName1 + 6, u"Sonntag"},
      {LocaleSDayName1 + 5, u"Samstag"},
      {LocaleSShortDate, u"d.M.yyyy"},
      {LocaleSLongDate, u"dddd, d. MMMM yyyy"},
      {LocaleS1159, u""},
      {LocaleS2359, u""},
      {LocaleITLZero, u"1"},
      {LocaleITime, u"1"},
      {LocaleSCurrency, u"€"},
      {LocaleICurrency, u"3"},
      {LocaleINegCurr, u"8"},
      {LocaleICurrDigits, u"2"},
  };
  Fake.LocaleChars = {
      {LocaleSDate, "."}, {LocaleSTime, ":"}, {LocaleSDecimal, ","}, {LocaleSThousand, ""}, {LocaleSList, ";"}};
  TFormatSettings s = DefaultFormatSettings();
  LoadLocaleSettings(LocaleSystemDefault, s);
  EXPECT_EQ(s.ShortMonthNames[2], "M\xE4r");  // in the ANSI code page
  EXPECT_EQ(s.LongMonthNames[2], "M\xE4rz");
  EXPECT_EQ(s.ShortMonthNames[3], "Apr");
  EXPECT_EQ(s.ShortDayNames[0], "So");
  EXPECT_EQ(s.ShortDayNames[1], "Mo");
  EXPECT_EQ(s.LongDayNames[0], "Sonntag");
  EXPECT_EQ(s.LongDayNames[6], "Samstag");
  EXPECT_EQ(s.DateSeparator, '.');
  EXPECT_EQ(s.ShortDateFormat, "d/M/yyyy");  // the locale's separator becomes "/"
  EXPECT_EQ(s.LongDateFormat, "dddd, d/ MMMM yyyy");
  EXPECT_EQ(s.TimeAMString, "");  // supplied empty stays empty
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(s.CurrencyString, "\x80");
  EXPECT_EQ(s.CurrencyFormat, 3);
  EXPECT_EQ(s.NegCurrFormat, 8);
  EXPECT_EQ(s.CurrencyDecimals, 2);
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ThousandSeparator, '\0');  // empty character item
  EXPECT_EQ(s.ListSeparator, ';');
}

TEST(LoadLocaleSettings, ReadsClockAndNumberItemsAsNumbers) {
  struct TCaseRec {
    const char16_t* itime;
    const char* longTime;
  } cases[] = {
      {u"0", "h:nn:ss AMPM"},
      {u"1", "h:nn:ss"},
      {u"x", "h:nn:ss"},
      {u"00", "h:nn:ss AMPM"},
  };
  for (const auto& c : cases) {
    ResetFake();
    Fake.LocaleTexts = {{LocaleITime, c.itime}, {LocaleITLZero, u"zero"}, {LocaleICurrency, u"two"}};
    Fake.LocaleChars = {{LocaleSDate, "abcd"}};  // too long for a character item
    TFormatSettings s = DefaultFormatSettings();
    LoadLocaleSettings(LocaleSystemDefault, s);
    EXPECT_EQ(s.LongTimeFormat, c.longTime);
    EXPECT_EQ(s.CurrencyFormat, 0);
    EXPECT_EQ(s.DateSeparator, '/');
  }
}

TEST(FormatSettings, HoldsTheLocaleWithTheCoresFixedPatterns) {
  ResetFake();
  Fake.LocaleTexts = {
      {LocaleSAbbrevMonthName1, u"Jän"}, {LocaleSShortDate, u"dd.MM.yyyy"}, {LocaleITime, u"0"}, {LocaleITLZero, u"0"}};
  Fake.LocaleChars = {{LocaleSDate, "."}, {LocaleSTime, "."}};
  RunInFreshProcess([] {
    ScheduleLocaleSettingsLoad();
    const TFormatSettings& s = FormatSettings();
    EXPECT_EQ(s.ShortMonthNames[0], "Jän");
    EXPECT_EQ(s.DateSeparator, '/');
    EXPECT_EQ(s.ShortDateFormat, "mm/dd/yyyy");
    EXPECT_EQ(s.ShortTimeFormat, "hh:nn:ss");
    EXPECT_EQ(s.LongDateFormat, "dddd, mmmm dd, yyyy");
    EXPECT_EQ(s.LongTimeFormat, "h:nn:ss AMPM");  // a 12-hour clock stays
    EXPECT_EQ(s.TimeSeparator, '.');
    EXPECT_EQ(StartupFormatSettings().ShortMonthNames[0], "Jan");  // as before the load
  });
}

}  // namespace
