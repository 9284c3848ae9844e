#include "core/startup.h"

#include <gtest/gtest.h>

#include "core/locale_settings.h"
#include "core/params.h"
#include "tests/fake_platform.h"

namespace {

void StartProcess(const std::vector<std::string>& args, const std::string& exePath = "/opt/tools/tokloc") {
  ResetFake();
  Fake.Args = args;
  Fake.ExePath = exePath;
  LoadParams();
  CoreStartup();
}

TEST(QuoteIfNeeded, QuotesEmptyTextBlanksAndSemicolons) {
  struct Case { const char* text; const char* quoted; } cases[] = {
      {"", "\"\""}, {"a b", "\"a b\""}, {"a;b", "\"a;b\""}, {"plain", "plain"},
      {"tab\there", "tab\there"}, {"\"a b\"", "\"\"a b\"\""}, {"\"ab\"", "\"ab\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteIfNeeded(c.text), c.quoted) << c.text;
}

TEST(CoreStartup, CapturesEveryArgumentUnchanged) {
  StartProcess({});
  EXPECT_TRUE(ParamList.empty());
  EXPECT_TRUE(FindParamList.empty());

  StartProcess({"a", "", "b c"});
  ASSERT_EQ(ParamList.size(), 3u);
  const char* texts[] = {"a", "", "b c"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(ParamList[i].Text, texts[i]);
    EXPECT_EQ(ParamList[i].Status, 0);
    EXPECT_FALSE(ParamList[i].Flag1 || ParamList[i].Flag2 || ParamList[i].Flag3 || ParamList[i].Flag4);
  }
}

TEST(CoreStartup, QuotesTheProgramsDirectoryAndName) {
  struct Case { const char* path; const char* dir; const char* name; } cases[] = {
      {"C:\\My Tools\\Tool.exe", "\"C:\\My Tools\"", "Tool.exe"},
      {"C:\\Tools\\my;tool.exe", "C:\\Tools", "\"my;tool.exe\""},
      {"tool.exe", "\"\"", "tool.exe"},
      {"C:\\tool.exe", "C:\\", "tool.exe"},
  };
  for (const auto& c : cases) {
    StartProcess({}, c.path);
    EXPECT_EQ(AppDirQuoted, c.dir) << c.path;
    EXPECT_EQ(AppNameQuoted, c.name) << c.path;
  }
}

TEST(CoreStartup, PreparesTheRestOfTheCoreState) {
  ExitCode = 99;
  StartProcess({"x"});
  EXPECT_EQ(ExitCode, 0);
  EXPECT_EQ(AppProcessId, 4242u);
  EXPECT_EQ(CustomSyntaxRec.Caption, "Custom Syntax Validation Record");
  EXPECT_EQ(DefaultSyntaxRec.Caption, "Default Syntax Validation Record");
  TParamStatisticsRec custom = CustomSyntaxRec;
  custom.Caption = DefaultSyntaxRec.Caption;
  EXPECT_TRUE(custom.Flag1);
  EXPECT_FALSE(custom.Flag2 || custom.Flag3);
  EXPECT_EQ(custom.Counts, DefaultSyntaxRec.Counts);
  EXPECT_EQ(custom.Texts, DefaultSyntaxRec.Texts);

  CoreShutdown();
  EXPECT_TRUE(ParamList.empty());
  EXPECT_EQ(CustomSyntaxRec.Caption, "");
  EXPECT_EQ(AppDirQuoted, "");
  EXPECT_EQ(FmtElapsed, "");
}

TEST(InitSyntaxRec, KeepsTheCaptionWhenGivenNone) {
  TParamStatisticsRec rec;
  rec.Flag2 = true;
  rec.Counts[13] = 7;
  rec.Texts[10] = "old";
  InitSyntaxRec(rec, "First");
  EXPECT_EQ(rec.Caption, "First");
  EXPECT_TRUE(rec.Flag1);
  EXPECT_FALSE(rec.Flag2);
  EXPECT_EQ(rec.Counts[13], 0);
  EXPECT_EQ(rec.Texts[10], "");
  InitSyntaxRec(rec, "");
  EXPECT_EQ(rec.Caption, "First");
}

TEST(LoadLocaleSettings, TakesTheDefaultsForMissingItems) {
  ResetFake();
  TFormatSettings s = RunTimeDefaultFormatSettings();
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
      {70, u"Mär"}, {58, u"März"}, {55, u"So"}, {49, u"Mo"}, {48, u"Sonntag"}, {47, u"Samstag"},
      {31, u"d.M.yyyy"}, {32, u"dddd, d. MMMM yyyy"}, {40, u""}, {41, u""},
      {37, u"1"}, {35, u"1"}, {20, u"€"}, {27, u"3"}, {28, u"8"}, {25, u"2"},
  };
  Fake.LocaleChars = {{29, "."}, {30, ":"}, {14, ","}, {15, ""}, {12, ";"}};
  TFormatSettings s = RunTimeDefaultFormatSettings();
  LoadLocaleSettings(LocaleSystemDefault, s);
  EXPECT_EQ(s.ShortMonthNames[2], "M\xE4r");  // in the ANSI code page
  EXPECT_EQ(s.LongMonthNames[2], "M\xE4rz");
  EXPECT_EQ(s.ShortMonthNames[3], "Apr");
  EXPECT_EQ(s.ShortDayNames[0], "So");
  EXPECT_EQ(s.ShortDayNames[1], "Mo");
  EXPECT_EQ(s.LongDayNames[0], "Sonntag");
  EXPECT_EQ(s.LongDayNames[6], "Samstag");
  EXPECT_EQ(s.DateSeparator, '.');
  EXPECT_EQ(s.ShortDateFormat, "d/M/yyyy");           // the locale's separator becomes "/"
  EXPECT_EQ(s.LongDateFormat, "dddd, d/ MMMM yyyy");
  EXPECT_EQ(s.TimeAMString, "");                      // supplied empty stays empty
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(s.CurrencyString, "\x80");
  EXPECT_EQ(s.CurrencyFormat, 3);
  EXPECT_EQ(s.NegCurrFormat, 8);
  EXPECT_EQ(s.CurrencyDecimals, 2);
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ThousandSeparator, '\0');               // empty character item
  EXPECT_EQ(s.ListSeparator, ';');
}

TEST(LoadLocaleSettings, ReadsClockAndNumberItemsAsNumbers) {
  struct Case { const char16_t* itime; const char* longTime; } cases[] = {
      {u"0", "h:nn:ss AMPM"}, {u"1", "h:nn:ss"}, {u"x", "h:nn:ss"}, {u"00", "h:nn:ss AMPM"},
  };
  for (const auto& c : cases) {
    ResetFake();
    Fake.LocaleTexts = {{35, c.itime}, {37, u"zero"}, {27, u"two"}};
    Fake.LocaleChars = {{29, "abcd"}};  // too long for a character item
    TFormatSettings s = RunTimeDefaultFormatSettings();
    LoadLocaleSettings(LocaleSystemDefault, s);
    EXPECT_EQ(s.LongTimeFormat, c.longTime);
    EXPECT_EQ(s.CurrencyFormat, 0);
    EXPECT_EQ(s.DateSeparator, '/');
  }
}

TEST(FormatSettings, HoldsTheLocaleWithTheCoresFixedPatterns) {
  StartProcess({});
  Fake.LocaleTexts = {{68, u"Jän"}, {31, u"dd.MM.yyyy"}, {35, u"0"}, {37, u"0"}};
  Fake.LocaleChars = {{29, "."}, {30, "."}};
  const TFormatSettings& s = FormatSettings();
  EXPECT_EQ(s.ShortMonthNames[0], "Jän");
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.ShortDateFormat, "mm/dd/yyyy");
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn:ss");
  EXPECT_EQ(s.LongDateFormat, "dddd, mmmm dd, yyyy");
  EXPECT_EQ(s.LongTimeFormat, "h:nn:ss AMPM");       // a 12-hour clock stays
  EXPECT_EQ(s.TimeSeparator, '.');
  EXPECT_EQ(StartupFormatSettings.ShortMonthNames[0], "Jan");  // as before the load
}

}  // namespace
