#include "core/date_time.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"

namespace {

TDateTime Date(int y, int m, int d) {
  TDateTime v = -1;
  EXPECT_TRUE(TryEncodeDate(y, m, d, v));
  return v;
}

TDateTime Moment(int y, int mo, int d, int h, int mi, int s, int ms) {
  TDateTime t = 0;
  EXPECT_TRUE(TryEncodeTime(h, mi, s, ms, t));
  return ComposeDateTime(Date(y, mo, d), t);
}

TEST(TryEncodeDate, CountsDaysFromDayZero) {
  EXPECT_EQ(Date(1899, 12, 30), 0);
  EXPECT_EQ(Date(1900, 1, 1), 2);
  EXPECT_EQ(Date(2025, 5, 5), 45782);
  EXPECT_EQ(Date(1899, 12, 29), -1);
  TDateTime v;
  EXPECT_FALSE(TryEncodeDate(2025, 2, 29, v));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, v));
  EXPECT_FALSE(TryEncodeDate(2025, 13, 1, v));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, v));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, v));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, v));
}

TEST(FormatDateTime, WritesEachPatternPart) {
  TFormatSettings s = DefaultFormatSettings();
  const TDateTime v = Moment(2025, 5, 5, 14, 51, 30, 7);
  struct TCaseRec {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"dd mmm yyyy", "05 May 2025"},
      {"dd mmm yyyy @ hh:00:00", "05 May 2025 @ 14:00:00"},
      {"mm/dd/yyyy hh:nn:ss.zzz", "05/05/2025 14:51:30.007"},
      {"yyyy/mm/dd", "2025/05/05"},
      {"d/m/yy h:n:s z", "5/5/25 14:51:30 7"},
      {"dddd, mmmm d", "Monday, May 5"},
      {"ddd", "Mon"},
      {"YYYY-MM-DD", "2025-05-05"},
      {"\"dd\" 'yyyy' dd", "dd yyyy 05"},
      {"hh 'o''clock", "14 oclock"},
      {"week", "WEEK"},
      {"\"unclosed", "unclosed"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, v, s), c.text) << c.pattern;
  s.DateSeparator = '.';
  s.TimeSeparator = '-';
  s.ShortMonthNames[4] = "Mai";
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn mmm", v, s), "05.05.2025 14-51 Mai");
}

TEST(TryReadDateTime, ReadsDatesInTheShortDateFormatsOrder) {
  ResetFake();
  TFormatSettings s = DefaultFormatSettings();
  struct TCaseRec {
    const char* format;
    char sep;
    const char* text;
    TDateTime expected;
  } cases[] = {
      {"yyyy/mm/dd", '/', "2025/05/05", Date(2025, 5, 5)},
      {"mm/dd/yyyy", '/', "05/06/2025", Date(2025, 5, 6)},
      {"d.M.yyyy", '.', "6.5.2025", Date(2025, 5, 6)},
      {"mm/dd/yyyy", '/', "05/06", Date(2026, 5, 6)},  // no year: this year
      {"dd/mm/yyyy", '/', "06/05", Date(2026, 5, 6)},
      {"mm/dd/yyyy", '/', "17", Date(2026, 12, 17)},  // a day of this month
      {"mm/dd/yy", '/', "05/06/25", Date(2025, 5, 6)},
      {"mm/dd/yy", '/', "05/06/76", Date(1976, 5, 6)},  // fifty years back at most
      {"mm/dd/yy", '/', "05/06/75", Date(2075, 5, 6)},
      {"mm/dd/yyyy", '/', "05/06/0025", Date(25, 5, 6)},  // four digits: as written
  };
  for (const auto& c : cases) {
    s.ShortDateFormat = c.format;
    s.DateSeparator = c.sep;
    TDateTime v = -1;
    EXPECT_TRUE(TryReadDateTime(c.text, s, v)) << c.text;
    EXPECT_EQ(v, c.expected) << c.text;
  }
}

TEST(TryReadDate, SkipsBlanksUnlessTheySeparate) {
  ResetFake();
  TFormatSettings s = DefaultFormatSettings();
  s.ShortDateFormat = "d.M.yyyy";
  s.DateSeparator = '.';
  TDateTime v = -1;
  EXPECT_TRUE(TryReadDate(" 6 . 5 . 2025  ", s, v));
  EXPECT_EQ(v, Date(2025, 5, 6));
  s.DateSeparator = ' ';
  EXPECT_TRUE(TryReadDate("6 5 2025", s, v));
  EXPECT_EQ(v, Date(2025, 5, 6));
  EXPECT_FALSE(TryReadDate("6  5 2025", s, v));
}

TEST(TryReadDateTime, RejectsWhatDoesNotRead) {
  ResetFake();
  TFormatSettings s = DefaultFormatSettings();
  s.ShortDateFormat = "mm/dd/yyyy";
  const char* cases[] = {"",      "13/01/2025", "02/30/2025",    "1/2/3/4", "1/2/",    "a/b/c",           "1-2-2025",
                         "25:00", "12:60",      "12:00:00.1000", "12:",     "12:00 x", "05/05/2025 14:xx"};
  for (const char* c : cases) {
    TDateTime v;
    EXPECT_FALSE(TryReadDateTime(c, s, v)) << c;
  }
}

TEST(TextToDateTime, ReadsDateAndTimeWithFraction) {
  ResetFake();
  TFormatSettings s = DefaultFormatSettings();
  s.ShortDateFormat = "yyyy/mm/dd";
  struct TCaseRec {
    const char* text;
    TDateTime expected;
  } cases[] = {
      {"2025/05/05 14:51:30", Moment(2025, 5, 5, 14, 51, 30, 0)},
      {"2025/05/05 14:51:30.5", Moment(2025, 5, 5, 14, 51, 30, 500)},
      {"2025/05/05 14:51:30.12345", Moment(2025, 5, 5, 14, 51, 30, 123)},
      {"2025/05/05 14:51:30.12.99", Moment(2025, 5, 5, 14, 51, 30, 120)},
      {"2025/05/05 14:51", Moment(2025, 5, 5, 14, 51, 0, 0)},
  };
  for (const auto& c : cases) {
    TDateTime v = -1;
    EXPECT_TRUE(TextToDateTime(c.text, "mm/dd/yyyy", s, v)) << c.text;
    EXPECT_DOUBLE_EQ(v, c.expected) << c.text;
  }
  s.DecimalSeparator = ',';
  TDateTime v;
  EXPECT_FALSE(TextToDateTime("2025/05/05 14:51:30.5", "mm/dd/yyyy", s, v));
}

TEST(TextToDateTime, GivesATimeAloneTodaysDate) {
  ResetFake();
  TFormatSettings s = DefaultFormatSettings();
  s.ShortDateFormat = "mm/dd/yyyy";
  TDateTime v = -1;
  EXPECT_TRUE(TextToDateTime("14:51:30", "mm/dd/yyyy", s, v));
  EXPECT_DOUBLE_EQ(v, Moment(2026, 12, 8, 14, 51, 30, 0));
  EXPECT_TRUE(TextToDateTime("14:51:30.25", "mm/dd/yyyy", s, v));
  EXPECT_DOUBLE_EQ(v, Moment(2026, 12, 8, 14, 51, 30, 250));
  // A text that names day 0 itself keeps it.
  EXPECT_TRUE(TextToDateTime("12/30/1899 14:51:30", "mm/dd/yyyy", s, v));
  EXPECT_DOUBLE_EQ(v, Moment(1899, 12, 30, 14, 51, 30, 0));
}

}  // namespace
