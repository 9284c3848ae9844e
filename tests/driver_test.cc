#include "app/driver.h"

#include <gtest/gtest.h>

#include "core/exit_code.h"
#include "tests/fake_platform.h"

// What the end-to-end tables cannot reach: code pages of the fake's choice
// and the writes the result line goes out in.
namespace {

TEST(RunTokloc, ConvertsArgumentsFromAndResultsToTheirCodePages) {
  ResetFake();
  Fake.AnsiCp = CodePageWindows1252;
  Fake.OutputCp = CodePageUtf8;
  EXPECT_EQ(RunFakeProgram({"Gr\xFC\xDF"
                            "e \x80 an",
                            "\x80", "0", "\xDF"}),
            ExitTokenFound);
  EXPECT_EQ(Fake.Out, "TRUE|7|8|0|e | an|\r\n");
}

TEST(RunTokloc, WritesInTheConsolePageTakenAtStart) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"Grüße an alle", "an"}, {"-??"}}) {
    ResetFake();
    Fake.OutputCp = CodePageWindows1252;
    Fake.OutputCpLater = CodePageUtf8;  // as if another process ran chcp
    RunFakeProgram(args);
    const std::string& text = args.size() == 2 ? Fake.Out : Fake.Err;
    EXPECT_NE(text.find(args.size() == 2 ? "Gr\xFC\xDF"
                                           "e"
                                         : "Copyright \xA9"),
              std::string::npos)
        << text;
  }
}

TEST(RunTokloc, WritesTheResultLineWholeUpTo4KiBThenIn256BytePieces) {
  for (size_t side : {300, 2500}) {
    ResetFake();
    const std::string text = std::string(side, 'a') + " TOKEN " + std::string(side, 'b');
    EXPECT_EQ(RunFakeProgram({text, "TOKEN"}), ExitTokenFound);
    const std::string line = "TRUE|" + std::to_string(side + 2) + "|" + std::to_string(side + 7) + "|0|" +
                             std::string(side, 'a') + "|" + std::string(side, 'b') + "|\r\n";
    EXPECT_EQ(Fake.Out, line);
    if (line.size() <= 4096) {
      EXPECT_EQ(Fake.OutPieces.size(), 1u);
    } else {
      ASSERT_EQ(Fake.OutPieces.size(), (line.size() + 255) / 256);
      for (size_t i = 0; i + 1 < Fake.OutPieces.size(); ++i) EXPECT_EQ(Fake.OutPieces[i].size(), 256u);
    }
  }
}

}  // namespace
