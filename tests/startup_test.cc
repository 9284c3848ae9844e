#include "core/startup.h"

#include <gtest/gtest.h>

#include "core/exit_code.h"
#include "core/params.h"
#include "tests/fake_platform.h"

namespace {

// Runs body in a fresh process started with args from exePath, after the
// core's start-up.
void AfterStartup(const std::vector<std::string>& args, const std::string& exePath, const std::function<void()>& body) {
  ResetFake();
  Fake.Args = args;
  Fake.ExePath = exePath;
  RunInFreshProcess([&] {
    ExitCode = 99;  // whatever it held, the start-up sets it
    LoadParams();
    CoreStartup();
    body();
  });
}

TEST(CoreStartup, CapturesEveryArgumentUnchanged) {
  AfterStartup({}, "/opt/tools/tokloc", [] {
    EXPECT_TRUE(CoreState().ParamList.empty());
    EXPECT_TRUE(CoreState().FindParamList.empty());
  });
  AfterStartup({"a", "", "b c"}, "/opt/tools/tokloc", [] {
    ASSERT_EQ(CoreState().ParamList.size(), 3u);
    const char* texts[] = {"a", "", "b c"};
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(CoreState().ParamList[i].Text, texts[i]);
      EXPECT_EQ(CoreState().ParamList[i].Status, 0);
      EXPECT_FALSE(CoreState().ParamList[i].Flag1 || CoreState().ParamList[i].Flag2 || CoreState().ParamList[i].Flag3 ||
                   CoreState().ParamList[i].Flag4);
    }
  });
}

TEST(CoreStartup, QuotesTheProgramsDirectoryAndName) {
  struct TCaseRec {
    const char* path;
    const char* dir;
    const char* name;
  } cases[] = {
      {"C:\\My Tools\\Tool.exe", "\"C:\\My Tools\"", "Tool.exe"},
      {"C:\\Tools\\my;tool.exe", "C:\\Tools", "\"my;tool.exe\""},
      {"tool.exe", "\"\"", "tool.exe"},
      {"C:\\tool.exe", "C:\\", "tool.exe"},
  };
  for (const auto& c : cases) {
    AfterStartup({}, c.path, [&] {
      EXPECT_EQ(CoreState().AppDirQuoted, c.dir) << c.path;
      EXPECT_EQ(CoreState().AppNameQuoted, c.name) << c.path;
    });
  }
}

TEST(CoreStartup, PreparesTheRestOfTheCoreState) {
  AfterStartup({"x"}, "/opt/tools/tokloc", [] {
    EXPECT_EQ(ExitCode, ExitTokenFound);
    EXPECT_EQ(CoreState().AppProcessId, 4242u);
    EXPECT_EQ(CoreState().CustomSyntaxRec.Caption, "Custom Syntax Validation Record");
    EXPECT_EQ(CoreState().DefaultSyntaxRec.Caption, "Default Syntax Validation Record");
    TParamStatisticsRec custom = CoreState().CustomSyntaxRec;
    custom.Caption = CoreState().DefaultSyntaxRec.Caption;
    EXPECT_TRUE(custom.Flag1);
    EXPECT_FALSE(custom.Flag2 || custom.Flag3);
    EXPECT_EQ(custom.Counts, CoreState().DefaultSyntaxRec.Counts);
    EXPECT_EQ(custom.Texts, CoreState().DefaultSyntaxRec.Texts);

    CoreShutdown();
    EXPECT_TRUE(CoreState().ParamList.empty());
    EXPECT_EQ(CoreState().CustomSyntaxRec.Caption, "");
    EXPECT_EQ(CoreState().AppDirQuoted, "");
    EXPECT_EQ(FmtElapsed, "");
  });
}
}  // namespace
