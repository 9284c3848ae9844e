#include "core/console.h"

#include <gtest/gtest.h>

#include "core/exit_code.h"
#include "core/text_conversion.h"
#include "tests/fake_platform.h"

namespace {

// Writes each text as one line through a channel on stream, in a fresh
// process, and flushes it at the end; returns the exit code the writes
// ended with, or -1 when they all went through.
int32_t WriteLines(TStdStream stream, const std::vector<std::string>& lines, TChannelMode mode = TChannelMode::Pieces) {
  return RunInFreshProcess([&] {
    TTextChannelRec channel;
    BindChannel(channel, stream, mode);
    for (const std::string& text : lines) {
      WriteText(channel, text);
      WriteLineEnd(channel);
    }
    FlushChannel(channel);
  });
}

TEST(FlushChannel, GathersWholeLinesIntoBlocksOfUpTo4KiB) {
  ResetFake();
  const std::string a(1500, 'a'), b(1500, 'b'), c(1500, 'c'), d(5000, 'd');
  EXPECT_EQ(WriteLines(TStdStream::Output, {a, b, c, d, "e"}, TChannelMode::LineBlocks), -1);
  EXPECT_EQ(Fake.Out, a + "\r\n" + b + "\r\n" + c + "\r\n" + d + "\r\n" + "e\r\n");
  // Two lines fill a block, the third starts the next one; a line longer
  // than a block goes out alone in 256-byte pieces; the rest at the flush.
  ASSERT_GE(Fake.OutPieces.size(), 3u);
  EXPECT_EQ(Fake.OutPieces[0], a + "\r\n" + b + "\r\n");
  EXPECT_EQ(Fake.OutPieces[1], c + "\r\n");
  for (size_t i = 2; i + 2 < Fake.OutPieces.size(); ++i) EXPECT_EQ(Fake.OutPieces[i].size(), 256u);
  EXPECT_EQ(Fake.OutPieces.back(), "e\r\n");
}

TEST(FlushChannel, WritesALineInOneCallWhenItFits) {
  ResetFake();
  EXPECT_EQ(WriteLines(TStdStream::Output, {std::string(254, 'x')}), -1);
  ASSERT_EQ(Fake.OutPieces.size(), 1u);
  EXPECT_EQ(Fake.Out, std::string(254, 'x') + "\r\n");
}

TEST(FlushChannel, SplitsLongLinesInto256BytePieces) {
  ResetFake();
  EXPECT_EQ(WriteLines(TStdStream::Output, {std::string(600, 'y')}), -1);
  ASSERT_EQ(Fake.OutPieces.size(), 3u);
  EXPECT_EQ(Fake.OutPieces[0].size(), 256u);
  EXPECT_EQ(Fake.OutPieces[1].size(), 256u);
  EXPECT_EQ(Fake.OutPieces[2].size(), 90u);
  EXPECT_EQ(Fake.Out, std::string(600, 'y') + "\r\n");
}

TEST(FlushChannel, ContinuesShortAndInterruptedWritesWithoutLosingBytes) {
  ResetFake();
  Fake.Script[1] = {TFakeWriteStepRec::Short, 3};
  Fake.Script[2] = {TFakeWriteStepRec::Interrupt, 0};
  Fake.Script[3] = {TFakeWriteStepRec::Short, 1};
  EXPECT_EQ(WriteLines(TStdStream::Output, {"TRUE|1|2|0|||"}), -1);
  EXPECT_EQ(Fake.Out, "TRUE|1|2|0|||\r\n");
  EXPECT_EQ(Fake.Err, "");
}

TEST(FlushChannel, EndsTheRunWith217AndTheReportWhenAWriteFails) {
  const TFakeWriteStepRec::TKind failures[] = {TFakeWriteStepRec::Fail, TFakeWriteStepRec::Stall};
  for (TFakeWriteStepRec::TKind kind : failures) {
    ResetFake();
    Fake.Script[2] = {kind, 0};
    EXPECT_EQ(WriteLines(TStdStream::Output, {"first", "second"}), ExitWriteFailed);
    EXPECT_EQ(Fake.Out, "first\r\n");  // nothing of the failing line
    EXPECT_TRUE(IsFailureReport(Fake.Err)) << Fake.Err;
  }
}

TEST(FlushChannel, StopsAtTheFirstFailingPieceOfALongLine) {
  ResetFake();
  Fake.Script[2] = {TFakeWriteStepRec::Fail, 0};
  EXPECT_EQ(WriteLines(TStdStream::Output, {std::string(700, 'z')}), 217);
  EXPECT_EQ(Fake.Out, std::string(256, 'z'));
  EXPECT_EQ(Fake.OutPieces.size(), 1u);
}

TEST(FlushChannel, EndsQuietlyWhenStandardErrorFailsToo) {
  ResetFake();
  Fake.Script[1] = {TFakeWriteStepRec::Fail, 0};
  Fake.Script[2] = {TFakeWriteStepRec::Fail, 0};
  EXPECT_EQ(WriteLines(TStdStream::Error, {"help"}), 217);
  EXPECT_EQ(Fake.Err, "");
}

TEST(FlushChannel, TakesAShortCountAsCompleteOnlyWhereWritesCountCharacters) {
  // A POSIX terminal in UTF-8 counts bytes like any stream: the rest of the
  // line must follow. A Win32 console in a Unicode page counts characters.
  for (bool countsCharacters : {false, true}) {
    ResetFake();
    Fake.CountsCharacters = countsCharacters;
    Fake.OutputCp = CodePageUtf8;
    Fake.Script[1] = {TFakeWriteStepRec::Short, 4};
    EXPECT_EQ(WriteLines(TStdStream::Output, {"abcdéf"}), -1);
    EXPECT_EQ(Fake.Out, countsCharacters ? "abcd" : "abcdéf\r\n");
  }
}

TEST(WriteText, EncodesForTheStreamsCodePage) {
  ResetFake();
  Fake.OutputCp = CodePageWindows1252;
  Fake.AnsiCp = CodePageUtf8;
  RunInFreshProcess([] {
    TTextChannelRec out;
    BindChannel(out, TStdStream::Output);
    WriteText(out, "Grüße|");
    WriteAnsiText(out, "\xE2\x82\xAC|");
    WriteBytes(out, NarrowFromWide(u"€😀|", out.CodePage, CodePageUtf8));
    char digits[128];
    char* end = digits;
    for (const int64_t n : {-2147483648LL, 0LL, 9LL, 10LL, 99LL, 100LL}) {
      end = PutDecimal(end, n);
      *end++ = ',';
    }
    WriteBytes(out, std::string_view(digits, static_cast<size_t>(end - digits)));
    WriteLineEnd(out);
  });
  EXPECT_EQ(Fake.Out,
            "Gr\xFC\xDF"
            "e|\x80|\x80?|-2147483648,0,9,10,99,100,\r\n");
}

}  // namespace
