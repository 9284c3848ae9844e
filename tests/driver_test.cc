#include "app/driver.h"

#include <gtest/gtest.h>

#include "core/exit_code.h"
#include "tests/fake_platform.h"

// What the end-to-end tables cannot reach: code pages of the fake's choice
// and the pieces the result line goes out in.
namespace {

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

TEST(RunTokloc, LongResultLineGoesOutWhole) {
  ResetFake();
  const std::string text = std::string(300, 'a') + " TOKEN " + std::string(300, 'b');
  EXPECT_EQ(RunFakeProgram({text, "TOKEN"}), ExitTokenFound);
  EXPECT_EQ(Fake.Out, "TRUE|302|307|0|" + std::string(300, 'a') + "|" + std::string(300, 'b') + "|\r\n");
  for (const std::string& piece : Fake.OutPieces) EXPECT_LE(piece.size(), 256u);
}

}  // namespace
