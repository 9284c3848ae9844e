#include "platform/langinfo-posix.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureFromStrftime, TranslatesDateConversions) {
  struct TCaseRec {
    const char* format;
    const char* picture;
  } cases[] = {
      {"%m/%d/%y", "mm/dd/yy"},
      {"%d.%m.%Y", "dd.mm.yyyy"},
      {"%Y-%m-%d", "yyyy-mm-dd"},
      {"%D", "mm/dd/yy"},
      {"%F", "yyyy-mm-dd"},
      {"%e %b %Y", "d mmm yyyy"},
      {"%A, %B %-d, %Y", "dddd, mmmm d, yyyy"},
      {"%Y年%m月%d日", "yyyy年mm月dd日"},
      {"%Ey", "yy"},
      {"%-m/%-d/%Y", "m/d/yyyy"},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFromStrftime(c.format), c.picture) << c.format;
}

TEST(SeparatorFromStrftime, FindsTheFirstSeparator) {
  struct TCaseRec {
    const char* format;
    const char* separator;
  } cases[] = {
      {"%m/%d/%y", "/"}, {"%d.%m.%Y", "."},   {"%Y-%m-%d", "-"},    {"%H:%M:%S", ":"}, {"%T", ":"}, {"%d. %m. %Y", "."},
      {"%d %m %Y", " "}, {"%-d.%-m.%Y", "."}, {"%Y年%m月%d日", ""}, {"%H時%M分", ""},  {"%x", ""},  {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(SeparatorFromStrftime(c.format), c.separator) << c.format;
}

TEST(ClockItem, TellsTwelveFromTwentyFourHours) {
  struct TCaseRec {
    const char* format;
    const char* clock;
    const char* zero;
  } cases[] = {
      {"%H:%M:%S", "1", "1"}, {"%T", "1", "1"},    {"%r", "0", "1"},     {"%I:%M:%S %p", "0", "1"},
      {"%l:%M %p", "0", "0"}, {"%k:%M", "1", "0"}, {"%-H:%M", "1", "0"}, {"%-I:%M %p", "0", "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClockItem(c.format), c.clock) << c.format;
    EXPECT_EQ(HourLeadingZeroItem(c.format), c.zero) << c.format;
  }
}

TEST(CurrencyFormat, MapsLocaleconvFields) {
  EXPECT_EQ(PositiveCurrencyFormat(1, 0), 0);      // $1
  EXPECT_EQ(PositiveCurrencyFormat(0, 1), 3);      // 1 €
  EXPECT_EQ(NegativeCurrencyFormat(1, 0, 1), 1);   // -$1
  EXPECT_EQ(NegativeCurrencyFormat(0, 1, 1), 8);   // -1 €
  EXPECT_EQ(NegativeCurrencyFormat(1, 0, 0), 0);   // ($1)
  EXPECT_EQ(NegativeCurrencyFormat(1, 1, 4), 12);  // $ -1
}

}  // namespace
