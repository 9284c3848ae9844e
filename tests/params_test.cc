#include "core/params.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"

namespace {

struct TSplitCaseRec {
  const char* line;
  std::vector<std::string> args;
};

TEST(SplitCommandLine, SplitsOnBlanksAndControlBytesAndGroupsByQuotes) {
  const TSplitCaseRec cases[] = {
      {"", {}},
      {"tokloc", {}},
      {"tokloc a b", {"a", "b"}},
      {"  tokloc   a   b  ", {"a", "b"}},
      {"tokloc \"a b\" c", {"a b", "c"}},
      {"tokloc a\"b c\"d", {"ab cd"}},                 // quotes open and close inside a token
      {"tokloc \"\"", {""}},                           // a lone pair is an empty argument
      {"tokloc \"\" x \"\"", {"", "x", ""}},
      {"tokloc a\"\"b", {"ab"}},                       // a pair adds nothing
      {"tokloc \"a\"\"b c\"", {"ab c"}},               // a pair leaves the quote open
      {"tokloc \"\"\"a b", {"a b"}},                   // pair, then a quote that opens
      {"tokloc \"unclosed  rest\tof line", {"unclosed  rest\tof line"}},
      {"tokloc a\tb\x01" "c\r\nd", {"a", "b", "c", "d"}},  // every control byte separates
      {"tokloc C:\\dir\\ \\\"x", {"C:\\dir\\", "\\x"}},   // backslashes are plain bytes
      {"\"C:\\Program Files\\tokloc.exe\" a", {"a"}},  // program name may be quoted
      {"tokloc \xE4\xF6 \x7F", {"\xE4\xF6", "\x7F"}},  // high bytes and DEL are text
  };
  for (const TSplitCaseRec& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(ParamStr, ComesFromTheOneStringCommandLine) {
  ResetFake();
  Fake.IsOneString = true;
  Fake.Line = "tokloc.exe \"a b\" c";
  RunInFreshProcess([] {
    LoadParams();
    EXPECT_EQ(ParamCount(), 2);
    EXPECT_EQ(ParamStr(1), "a b");
    EXPECT_EQ(ParamStr(2), "c");
    EXPECT_EQ(ParamStr(3), "");
    EXPECT_EQ(ParamStr(-1), "");
  });
}

TEST(ParamStr, ArgumentZeroIsTheExecutablePathCutTo255) {
  for (const std::string& path : {std::string(300, 'p'), std::string("/usr/bin/tokloc")}) {
    ResetFake();
    Fake.ExePath = path;
    RunInFreshProcess([&] {
      LoadParams();
      EXPECT_EQ(ParamStr(0), path.substr(0, 255));
    });
  }
}

}  // namespace
