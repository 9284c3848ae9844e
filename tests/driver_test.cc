#include "app/driver.h"

#include <gtest/gtest.h>

#include "core/exit_code.h"
#include "tests/fake_platform.h"

namespace {

struct SearchCase {
  std::vector<std::string> args;
  const char* out;
  int32_t code;
};

TEST(RunTokloc, WritesOneResultLineAndTheExitCode) {
  const SearchCase cases[] = {
      {{"This is not a very long string", "long"}, "TRUE|20|24|0|very|string|\r\n", ExitTokenFound},
      {{"We can look for tokens like THIS: even in the middle", "THIS:", "12"},
       "TRUE|29|34|12|tokens like | even in the|\r\n", ExitTokenFound},
      {{"And we can look for tokens at the very end on the line", "LINE", "7"}, "FALSE|0|0|7|||\r\n", ExitTokenNotFound},
      {{"And we can look for tokens at the very end on the line", "line", "7"},
       "TRUE|51|55|7|on the ||\r\n", ExitTokenFound},
      {{"a b", "b", "abc"}, "TRUE|3|4|0|a||\r\n", ExitTokenFound},                  // length that does not convert
      {{"a;b", ";", "0", ""}, "TRUE|2|3|0|a|b|\r\n", ExitTokenFound},               // empty delimiters: defaults
      {{"x-y TOKEN a-b", "TOKEN", "", "-"}, "TRUE|5|10|0|y | a|\r\n", ExitTokenFound},
      {{"x-y TOKEN a-b", "TOKEN", "0", "-", "ignored"}, "TRUE|5|10|0|y | a|\r\n", ExitTokenFound},
      {{"text", ""}, "FALSE|0|0|0|||\r\n", ExitTokenNotFound},                         // empty token
      {{"", "x", "-4"}, "FALSE|0|0|-4|||\r\n", ExitTokenNotFound},                     // empty text
      {{"a|b TOKEN c|d", "TOKEN"}, "TRUE|5|10|0|a|b|c|d|\r\n", ExitTokenFound},      // no escaping
      {{"Grüße an alle", "an"}, "TRUE|7|9|0|Grüße|alle|\r\n", ExitTokenFound},
      {{"k", "k", "3000000000"}, "TRUE|1|2|2147483647|||\r\n", ExitTokenFound},
      {{"-x", "x"}, "TRUE|2|3|0|-||\r\n", ExitTokenFound},                           // a non-switch first argument
  };
  for (const SearchCase& c : cases) {
    ResetFake();
    EXPECT_EQ(RunFakeProgram(c.args), c.code) << c.args[0];
    EXPECT_EQ(Fake.Out, c.out) << c.args[0];
    EXPECT_EQ(Fake.Err, "") << c.args[0];
  }
}

TEST(RunTokloc, ConvertsArgumentsFromAndResultsToTheirCodePages) {
  ResetFake();
  Fake.AnsiCp = CodePageWindows1252;
  Fake.OutputCp = CodePageUtf8;
  EXPECT_EQ(RunFakeProgram({"Gr\xFC\xDF" "e \x80 an", "\x80", "0", "\xDF"}), ExitTokenFound);
  EXPECT_EQ(Fake.Out, "TRUE|7|8|0|e | an|\r\n");
}

TEST(RunTokloc, WritesInTheConsolePageTakenAtStart) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"Grüße an alle", "an"}, {"-??"}}) {
    ResetFake();
    Fake.OutputCp = CodePageWindows1252;
    Fake.OutputCpLater = CodePageUtf8;  // as if another process ran chcp
    RunFakeProgram(args);
    const std::string& text = args.size() == 2 ? Fake.Out : Fake.Err;
    EXPECT_NE(text.find(args.size() == 2 ? "Gr\xFC\xDF" "e" : "Copyright \xA9"), std::string::npos) << text;
  }
}

TEST(RunTokloc, ChoosesHelpModeFromTheFirstArgument) {
  const SearchCase cases[] = {
      {{}, "", ExitHelpShown},
      {{"only one"}, "", ExitHelpShown},
      {{"-?", "x"}, "", ExitHelpShown}, {{"/?", "x"}, "", ExitHelpShown}, {{"-h", "x"}, "", ExitHelpShown},
      {{"/H"}, "", ExitHelpShown}, {{"-??"}, "", ExitHelpShown}, {{"/??", "x"}, "", ExitHelpShown},
      {{"--??"}, "", ExitHelpShown},
      {{"--info", "x"}, "", ExitVersionShown}, {{"--INFO"}, "", ExitVersionShown},
      {{"--Version-Only"}, "", ExitVersionShown},
      {{"x", "-?"}, "FALSE|0|0|0|||\r\n", ExitTokenNotFound},   // switches count in first place only
      {{"-? ", "x"}, "FALSE|0|0|0|||\r\n", ExitTokenNotFound},  // exact comparison
  };
  for (const SearchCase& c : cases) {
    ResetFake();
    EXPECT_EQ(RunFakeProgram(c.args), c.code) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_EQ(Fake.Out, c.out) << (c.args.empty() ? "" : c.args[0]);
    // Every help request is a process of its own, so each shows the banner.
    const bool help = c.code != ExitTokenNotFound;
    EXPECT_EQ(Fake.Err.rfind(c.args.size() == 1 && c.args[0] == "--Version-Only" ? "tokloc v1.1.0.50 x64 "
                                                                              : "tokloc v1.1.0 x64 (", 0) == 0,
              help) << (c.args.empty() ? "" : c.args[0]);
  }
}

TEST(RunTokloc, FailedResultWriteEndsWith217) {
  ResetFake();
  Fake.Script[1] = {TFakeWriteStep::Fail, 0};
  EXPECT_EQ(RunFakeProgram({"abc", "b"}), ExitWriteFailed);
  EXPECT_EQ(Fake.Out, "");
  EXPECT_TRUE(IsFailureReport(Fake.Err)) << Fake.Err;
}

TEST(RunTokloc, LongResultLineGoesOutWhole) {
  ResetFake();
  const std::string text = std::string(300, 'a') + " TOKEN " + std::string(300, 'b');
  EXPECT_EQ(RunFakeProgram({text, "TOKEN"}), ExitTokenFound);
  EXPECT_EQ(Fake.Out, "TRUE|302|307|0|" + std::string(300, 'a') + "|" + std::string(300, 'b') + "|\r\n");
  for (const std::string& piece : Fake.OutPieces) EXPECT_LE(piece.size(), 256u);
}

}  // namespace
