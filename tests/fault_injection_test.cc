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

struct TScenarioRec {
  std::vector<std::string> Args;
  std::vector<std::string> Input;  // standard input, read by read
};

TRunRec RunWithScript(const TScenarioRec& scenario, const std::map<int, TFakeWriteStepRec>& script,
                      bool outIsOwnFile = false) {
  ResetFake();
  Fake.Script = script;
  Fake.OutIsOwnFile = outIsOwnFile;
  Fake.Input = scenario.Input;
  TRunRec run;
  run.Code = RunFakeProgram(scenario.Args);
  run.Out = Fake.Out;
  run.Err = Fake.Err;
  run.Taken = Fake.Taken;
  return run;
}

const std::vector<TScenarioRec> Scenarios = {
    {{std::string(2500, 'a') + " TOKEN " + std::string(2500, 'b'), "TOKEN"}, {}},  // a line in pieces
    {{"This is not a very long string", "long"}, {}},
    {{"-?"}, {}},
    {{"-??"}, {}},
    {{"--info"}, {}},
    {{"--version-only"}, {}},
    // Blocks of whole lines, a line in pieces among them, and a read that
    // comes after a block went out.
    {{"--lines", "TOKEN"},
     {std::string(1500, 'x') + " TOKEN a\nb\n" + std::string(1500, 'y') + " TOKEN c\n",
      std::string(3000, 'z') + " TOKEN d\n" + std::string(5000, 'w') + " TOKEN e\nlast"}},
};

TEST(WriteFaults, AFailedWriteEndsTheRunAndWritesNothingAfterIt) {
  for (const TScenarioRec& scenario : Scenarios) {
    const TRunRec clean = RunWithScript(scenario, {});
    ASSERT_FALSE(clean.Taken.empty());
    for (size_t n = 1; n <= clean.Taken.size(); ++n) {
      const TRunRec failed = RunWithScript(scenario, {{static_cast<int>(n), {TFakeWriteStepRec::Fail, 0}}});
      std::string out, err;
      for (size_t i = 0; i + 1 < n; ++i)
        (clean.Taken[i].first == TStdStream::Output ? out : err) += clean.Taken[i].second;
      EXPECT_EQ(failed.Code, ExitWriteFailed) << scenario.Args[0] << " write " << n;
      EXPECT_EQ(failed.Out, out) << scenario.Args[0] << " write " << n;
      ASSERT_EQ(failed.Err.substr(0, err.size()), err) << scenario.Args[0] << " write " << n;
      EXPECT_TRUE(IsFailureReport(failed.Err.substr(err.size()))) << scenario.Args[0] << " write " << n;
    }
  }
}

TEST(WriteFaults, AFileOfOurOwnIsCutBackToItsLastWholeLine) {
  for (const TScenarioRec& scenario : Scenarios) {
    const TRunRec clean = RunWithScript(scenario, {});
    for (size_t n = 1; n <= clean.Taken.size(); ++n) {
      // Write n takes half its bytes, and the stream fails at the next.
      const auto& [stream, bytes] = clean.Taken[n - 1];
      const std::map<int, TFakeWriteStepRec> script = {
          {static_cast<int>(n), {TFakeWriteStepRec::Short, bytes.size() / 2}},
          {static_cast<int>(n) + 1, {TFakeWriteStepRec::Fail, 0}}};
      std::string out;
      for (size_t i = 0; i + 1 < n; ++i)
        if (clean.Taken[i].first == TStdStream::Output) out += clean.Taken[i].second;
      if (stream == TStdStream::Output) out += bytes.substr(0, bytes.size() / 2);
      out.resize(out.rfind('\n') + 1);  // npos + 1: nothing
      const TRunRec failed = RunWithScript(scenario, script, true);
      EXPECT_EQ(failed.Code, ExitWriteFailed) << scenario.Args[0] << " write " << n;
      EXPECT_EQ(failed.Out, out) << scenario.Args[0] << " write " << n;
    }
  }
}

TEST(WriteFaults, ShortAndInterruptedWritesLoseNoByte) {
  const TFakeWriteStepRec steps[] = {
      {TFakeWriteStepRec::Short, 1}, {TFakeWriteStepRec::Short, 0}, {TFakeWriteStepRec::Interrupt, 0}};
  for (const TScenarioRec& scenario : Scenarios) {
    const TRunRec clean = RunWithScript(scenario, {});
    for (size_t n = 1; n <= clean.Taken.size(); ++n) {
      for (const TFakeWriteStepRec& step : steps) {
        if (step.Kind == TFakeWriteStepRec::Short && step.Limit == 0) continue;  // that is a stall
        std::map<int, TFakeWriteStepRec> script = {{static_cast<int>(n), step}, {static_cast<int>(n) + 1, step}};
        const TRunRec disturbed = RunWithScript(scenario, script);
        EXPECT_EQ(disturbed.Code, clean.Code) << scenario.Args[0] << " write " << n;
        EXPECT_EQ(disturbed.Out, clean.Out) << scenario.Args[0] << " write " << n;
        EXPECT_EQ(disturbed.Err, clean.Err) << scenario.Args[0] << " write " << n;
      }
    }
  }
}

TEST(WriteFaults, AWriteThatMakesNoProgressCountsAsFailed) {
  const TRunRec stalled = RunWithScript({{"abc", "b"}, {}}, {{1, {TFakeWriteStepRec::Stall, 0}}});
  EXPECT_EQ(stalled.Code, ExitWriteFailed);
  EXPECT_EQ(stalled.Out, "");
}

}  // namespace
