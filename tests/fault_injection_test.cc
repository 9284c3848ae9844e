// Every write of the program fails, falls short or is interrupted in turn:
// a failure must end the run with 217 and the report and write nothing
// after it; a short or interrupted write must lose no byte.
#include <gtest/gtest.h>

#include "core/exit_code.h"
#include "tests/fake_platform.h"

namespace {

struct TRunRec {
  int32_t Code = 0;
  std::string Out, Err;
  std::vector<std::pair<TStdStream, std::string>> Taken;
};

TRunRec RunWithScript(const std::vector<std::string>& args, const std::map<int, TFakeWriteStepRec>& script) {
  ResetFake();
  Fake.Script = script;
  TRunRec run;
  run.Code = RunFakeProgram(args);
  run.Out = Fake.Out;
  run.Err = Fake.Err;
  run.Taken = Fake.Taken;
  return run;
}

const std::vector<std::vector<std::string>> Scenarios = {
    {std::string(300, 'a') + " TOKEN " + std::string(300, 'b'), "TOKEN"},  // a line in pieces
    {"This is not a very long string", "long"},
    {"-?"},
    {"-??"},
    {"--info"},
    {"--version-only"},
};

TEST(WriteFaults, AFailedWriteEndsTheRunAndWritesNothingAfterIt) {
  for (const auto& args : Scenarios) {
    const TRunRec clean = RunWithScript(args, {});
    ASSERT_FALSE(clean.Taken.empty());
    for (size_t n = 1; n <= clean.Taken.size(); ++n) {
      const TRunRec failed = RunWithScript(args, {{static_cast<int>(n), {TFakeWriteStepRec::Fail, 0}}});
      std::string out, err;
      for (size_t i = 0; i + 1 < n; ++i)
        (clean.Taken[i].first == TStdStream::Output ? out : err) += clean.Taken[i].second;
      EXPECT_EQ(failed.Code, ExitWriteFailed) << args[0] << " write " << n;
      EXPECT_EQ(failed.Out, out) << args[0] << " write " << n;
      ASSERT_EQ(failed.Err.substr(0, err.size()), err) << args[0] << " write " << n;
      EXPECT_TRUE(IsFailureReport(failed.Err.substr(err.size()))) << args[0] << " write " << n;
    }
  }
}

TEST(WriteFaults, ShortAndInterruptedWritesLoseNoByte) {
  const TFakeWriteStepRec steps[] = {{TFakeWriteStepRec::Short, 1}, {TFakeWriteStepRec::Short, 0},
                                  {TFakeWriteStepRec::Interrupt, 0}};
  for (const auto& args : Scenarios) {
    const TRunRec clean = RunWithScript(args, {});
    for (size_t n = 1; n <= clean.Taken.size(); ++n) {
      for (const TFakeWriteStepRec& step : steps) {
        if (step.Kind == TFakeWriteStepRec::Short && step.Limit == 0) continue;  // that is a stall
        std::map<int, TFakeWriteStepRec> script = {{static_cast<int>(n), step}, {static_cast<int>(n) + 1, step}};
        const TRunRec disturbed = RunWithScript(args, script);
        EXPECT_EQ(disturbed.Code, clean.Code) << args[0] << " write " << n;
        EXPECT_EQ(disturbed.Out, clean.Out) << args[0] << " write " << n;
        EXPECT_EQ(disturbed.Err, clean.Err) << args[0] << " write " << n;
      }
    }
  }
}

TEST(WriteFaults, AWriteThatMakesNoProgressCountsAsFailed) {
  const TRunRec stalled = RunWithScript({"abc", "b"}, {{1, {TFakeWriteStepRec::Stall, 0}}});
  EXPECT_EQ(stalled.Code, ExitWriteFailed);
  EXPECT_EQ(stalled.Out, "");
}

}  // namespace
