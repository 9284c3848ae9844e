#include "core/param_list.h"

#include <gtest/gtest.h>

namespace {

TEST(QuoteIfNeeded, QuotesEmptyTextBlanksAndSemicolons) {
  struct TCaseRec {
    const char* text;
    const char* quoted;
  } cases[] = {
      {"", "\"\""},         {"a b", "\"a b\""},         {"a;b", "\"a;b\""},
      {"plain", "plain"},   {"tab\there", "tab\there"}, {"\"a b\"", "\"\"a b\"\""},
      {"\"ab\"", "\"ab\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteIfNeeded(c.text), c.quoted) << c.text;
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

}  // namespace
