#include "core/params.h"

#include <gtest/gtest.h>

#include "tests/fake_platform.h"
#include "text/codecs.h"

namespace {

struct TSplitCaseRec {
  const char16_t* line;
  std::vector<std::u16string> args;
};

std::string Utf8(std::u16string_view text) { return EncodeToCodePage(text, CodePageUtf8); }

TEST(SplitCommandLine, SplitsOnBlanksAndControlBytesAndGroupsByQuotes) {
  const TSplitCaseRec cases[] = {
      {u"", {}},
      {u"tokloc", {}},
      {u"tokloc a b", {u"a", u"b"}},
      {u"  tokloc   a   b  ", {u"a", u"b"}},
      {u"tokloc \"a b\" c", {u"a b", u"c"}},
      {u"tokloc a\"b c\"d", {u"ab cd"}},  // quotes open and close inside a token
      {u"tokloc \"\"", {u""}},            // a lone pair is an empty argument
      {u"tokloc \"\" x \"\"", {u"", u"x", u""}},
      {u"tokloc a\"\"b", {u"ab"}},          // a pair adds nothing
      {u"tokloc \"a\"\"b c\"", {u"ab c"}},  // a pair leaves the quote open
      {u"tokloc \"\"\"a b", {u"a b"}},      // pair, then a quote that opens
      {u"tokloc \"unclosed  rest\tof line", {u"unclosed  rest\tof line"}},
      {u"tokloc a\tb\x01"
       u"c\r\nd",
       {u"a", u"b", u"c", u"d"}},                                 // every control unit separates
      {u"tokloc C:\\dir\\ \\\"x", {u"C:\\dir\\", u"\\x"}},        // backslashes are plain
      {u"\"C:\\Program Files\\tokloc.exe\" a", {u"a"}},           // program name may be quoted
      {u"tokloc \u00E4\u00F6 \x7F", {u"\u00E4\u00F6", u"\x7F"}},  // letters beyond ASCII and DEL are text
      // Only a real double quote quotes, and only 0x01-0x20 separate: no
      // look-alike of either, quoted or not.
      {u"tokloc \"safe\uFF02 \uFF02x\" x", {u"safe\uFF02 \uFF02x", u"x"}},
      {u"tokloc \"a\u2002b\u3000c\" a\u3000b", {u"a\u2002b\u3000c", u"a\u3000b"}},
  };
  for (const TSplitCaseRec& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << Utf8(c.line);
}

TEST(ParamStr, ComesFromTheOneStringCommandLine) {
  ResetFake();
  Fake.IsOneString = true;
  Fake.AnsiCp = CodePageWindows1252;
  Fake.Line = u"tokloc.exe \"a b\" c \u03A9\u00E9";
  RunInFreshProcess([] {
    LoadParams();
    EXPECT_EQ(ParamCount(), 3);
    EXPECT_EQ(ParamStr(1), "a b");
    EXPECT_EQ(ParamStr(2), "c");
    EXPECT_EQ(ParamStr(4), "");
    EXPECT_EQ(ParamStr(-1), "");
    // The search reads the argument as typed; the parameter list gets the
    // ANSI page's form of each argument on its own.
    EXPECT_EQ(ParamText(3), u"\u03A9\u00E9");
    EXPECT_EQ(ParamStr(3), "?\xE9");
    std::string_view ascii;
    EXPECT_TRUE(ParamAscii(1, ascii));
    EXPECT_EQ(ascii, "a b");
    EXPECT_FALSE(ParamAscii(3, ascii));
    EXPECT_EQ(ParamCodePage(), CodePageUtf16);
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
