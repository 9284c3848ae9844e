#include "app/length_arg.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TLengthCaseRec {
  std::string text;
  int32_t expected;
};

TEST(ConvertLength, ReadsEveryAcceptedForm) {
  const TLengthCaseRec cases[] = {
      {"0", 0},
      {"7", 7},
      {"+5", 5},
      {"-3", -3},
      {"007", 7},
      {"\t7", 7},
      {" \t 12", 12},
      {"$1A", 26},
      {"0x1A", 26},
      {"0X1a", 26},
      {"x1A", 26},
      {"X1a", 26},
      {"-$10", -16},
      {"&17", 15},
      {"%101", 5},
      {"000", 0},
      {"-0", 0},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"$100000001", 1},
      {"$FFFFFFFFFFFFFFFF", -1},  // bit patterns
  };
  for (const TLengthCaseRec& c : cases) EXPECT_EQ(ConvertLength(c.text), c.expected) << c.text;
}

TEST(ConvertLength, SaturatesDecimalValuesOutsideTheRange) {
  const TLengthCaseRec cases[] = {
      {"2147483648", INT32_MAX},
      {"3000000000", INT32_MAX},
      {"4294967297", INT32_MAX},
      {"9223372036854775808", INT32_MAX},
      {"99999999999999999999999999", INT32_MAX},
      {"-2147483649", INT32_MIN},
      {"-99999999999999999999", INT32_MIN},
      {"+0000000000000000000000000000000042", 42},
  };
  for (const TLengthCaseRec& c : cases) EXPECT_EQ(ConvertLength(c.text), c.expected) << c.text;
}

TEST(ConvertLength, GivesZeroForTextThatDoesNotConvert) {
  const std::string cases[] = {
      "",
      " ",
      "-",
      "+",
      "$",
      "0x",
      "x",
      "&",
      "%",
      "12abc",
      "12 ",
      "1.0",
      "1e3",
      "--5",
      "+-5",
      "$-1",
      "&8",
      "%2",
      "$G",
      "\n7",
      " 7 ",
      "0x0x1",
      "00x1A",
      "$10000000000000000",
      std::string(256, '1'),
  };
  for (const std::string& c : cases) EXPECT_EQ(ConvertLength(c), 0) << c;
}

TEST(ConvertLength, AcceptsExactly255Characters) {
  EXPECT_EQ(ConvertLength(std::string(254, '0') + "9"), 9);
  EXPECT_EQ(ConvertLength(std::string(255, ' ')), 0);
  EXPECT_EQ(ConvertLength(std::string(256, '0')), 0);
}

}  // namespace
