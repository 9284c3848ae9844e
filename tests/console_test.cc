#include "core/console.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"

namespace {

TTextChannelRec BoundChannel(TStdStream stream) {
  TTextChannelRec channel;
  BindChannel(channel, stream);
  return channel;
}

// Writes text as one line and reports the exit code (-1 when it went on).
int32_t WriteLine(TTextChannelRec& channel, const std::string& text) {
  try {
    WriteText(channel, text);
    WriteLineEnd(channel);
  } catch (const TFakeExit& e) {
    return e.Code;
  }
  return -1;
}

TEST(FlushChannel, WritesALineInOneCallWhenItFits) {
  ResetFake();
  TTextChannelRec out = BoundChannel(TStdStream::Output);
  EXPECT_EQ(WriteLine(out, std::string(254, 'x')), -1);
  ASSERT_EQ(Fake.OutPieces.size(), 1u);
  EXPECT_EQ(Fake.Out, std::string(254, 'x') + "\r\n");
}

TEST(FlushChannel, SplitsLongLinesInto256BytePieces) {
  ResetFake();
  TTextChannelRec out = BoundChannel(TStdStream::Output);
  EXPECT_EQ(WriteLine(out, std::string(600, 'y')), -1);
  ASSERT_EQ(Fake.OutPieces.size(), 3u);
  EXPECT_EQ(Fake.OutPieces[0].size(), 256u);
  EXPECT_EQ(Fake.OutPieces[1].size(), 256u);
  EXPECT_EQ(Fake.OutPieces[2].size(), 90u);
  EXPECT_EQ(Fake.Out, std::string(600, 'y') + "\r\n");
}

TEST(FlushChannel, ContinuesShortAndInterruptedWritesWithoutLosingBytes) {
  ResetFake();
  Fake.Script[1] = {TFakeWriteStep::Short, 3};
  Fake.Script[2] = {TFakeWriteStep::Interrupt, 0};
  Fake.Script[3] = {TFakeWriteStep::Short, 1};
  TTextChannelRec out = BoundChannel(TStdStream::Output);
  EXPECT_EQ(WriteLine(out, "TRUE|1|2|0|||"), -1);
  EXPECT_EQ(Fake.Out, "TRUE|1|2|0|||\r\n");
  EXPECT_EQ(Fake.Err, "");
}

TEST(FlushChannel, EndsTheRunWith217AndTheReportWhenAWriteFails) {
  const TFakeWriteStep::TKind failures[] = {TFakeWriteStep::Fail, TFakeWriteStep::Stall};
  for (TFakeWriteStep::TKind kind : failures) {
    ResetFake();
    Fake.Script[2] = {kind, 0};
    TTextChannelRec out = BoundChannel(TStdStream::Output);
    EXPECT_EQ(WriteLine(out, "first"), -1);
    EXPECT_EQ(WriteLine(out, "second"), 217);
    EXPECT_EQ(Fake.Out, "first\r\n");  // nothing of the failing line
    EXPECT_TRUE(IsFailureReport(Fake.Err)) << Fake.Err;
  }
}

TEST(FlushChannel, StopsAtTheFirstFailingPieceOfALongLine) {
  ResetFake();
  Fake.Script[2] = {TFakeWriteStep::Fail, 0};
  TTextChannelRec out = BoundChannel(TStdStream::Output);
  EXPECT_EQ(WriteLine(out, std::string(700, 'z')), 217);
  EXPECT_EQ(Fake.Out, std::string(256, 'z'));
  EXPECT_EQ(Fake.OutPieces.size(), 1u);
}

TEST(FlushChannel, EndsQuietlyWhenStandardErrorFailsToo) {
  ResetFake();
  Fake.Script[1] = {TFakeWriteStep::Fail, 0};
  Fake.Script[2] = {TFakeWriteStep::Fail, 0};
  TTextChannelRec err = BoundChannel(TStdStream::Error);
  EXPECT_EQ(WriteLine(err, "help"), 217);
  EXPECT_EQ(Fake.Err, "");
}

TEST(FlushChannel, TakesAShortCountAsCompleteOnlyWhereWritesCountCharacters) {
  // A POSIX terminal in UTF-8 counts bytes like any stream: the rest of the
  // line must follow. A Win32 console in a Unicode page counts characters.
  for (bool countsCharacters : {false, true}) {
    ResetFake();
    Fake.CountsCharacters = countsCharacters;
    Fake.OutputCp = CodePageUtf8;
    Fake.Script[1] = {TFakeWriteStep::Short, 4};
    TTextChannelRec out = BoundChannel(TStdStream::Output);
    EXPECT_EQ(WriteLine(out, "abcdéf"), -1);
    EXPECT_EQ(Fake.Out, countsCharacters ? "abcd" : "abcdéf\r\n");
  }
}

TEST(WriteText, EncodesForTheStreamsCodePage) {
  ResetFake();
  Fake.OutputCp = CodePageWindows1252;
  Fake.AnsiCp = CodePageUtf8;
  TTextChannelRec out = BoundChannel(TStdStream::Output);
  WriteText(out, "Grüße|");
  WriteAnsiText(out, "\xE2\x82\xAC|");
  WriteWideText(out, u"€😀|");
  WriteNumber(out, -2147483648LL);
  WriteNumber(out, 0);
  WriteLineEnd(out);
  EXPECT_EQ(Fake.Out, "Gr\xFC\xDF" "e|\x80|\x80?|-21474836480\r\n");
}

}  // namespace
