#include "core/replace_text.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"

namespace {

TEST(ReplaceTextIgnoreCase, ReplacesWithoutRegardToCase) {
  ResetFake();
  EXPECT_EQ(ReplaceTextIgnoreCase("Tool.Exe", ".EXE", "", false), "Tool");
  EXPECT_EQ(ReplaceTextIgnoreCase("my.exe.tool.EXE", ".exe", "", false), "my.tool");
  EXPECT_EQ(ReplaceTextIgnoreCase("my.exe.tool.EXE", ".exe", "", true), "my.tool.EXE");
  EXPECT_EQ(ReplaceTextIgnoreCase("Tool", "", "x", false), "Tool");
  EXPECT_EQ(ReplaceTextIgnoreCase("aaaa", "aa", "b", false), "bb");   // no overlaps
  EXPECT_EQ(ReplaceTextIgnoreCase("aXa", "x", "xx", false), "axxa");  // no rescanning
  EXPECT_EQ(ReplaceTextIgnoreCase("GRÜSSE grüsse", "grüsse", "-", false), "- -");
  Fake.AnsiCp = CodePageWindows1252;
  EXPECT_EQ(ReplaceTextIgnoreCase("\xDC"
                                  "BER \xFC"
                                  "ber",
                                  "\xFC"
                                  "BER",
                                  "x", false),
            "x x");
}

}  // namespace
