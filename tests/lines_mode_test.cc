#include "app/lines_mode.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "app/line_scan.h"
#include "core/exit_code.h"
#include "core/line_input.h"
#include "tests/fake_platform.h"
#include "text/ascii.h"

// Where the reads of standard input end is the fake's choice alone: lines,
// line ends and byte-order marks split across reads.
namespace {

TEST(SearchInputLines, JoinsWhatTheReadsSplit) {
  struct TCaseRec {
    std::vector<std::string> reads;
    std::string out;
  } cases[] = {
      {{"a TOK", "EN b\r", "\nTOKEN\n"}, "TRUE|3|8|0|a|b|\r\nTRUE|1|6|0|||\r\n"},
      {{"\xEF",
        "\xBB\xBF"
        "x TOKEN"},
       "TRUE|3|8|0|x||\r\n"},
      // UTF-16LE: the unit U+0A41 holds a byte 0A, which ends no line.
      {{std::string("\xFF\xFE"
                    "a\0\x41\x0A \0T\0O\0K\0E\0N\0\r\0\n",
                    21),
        std::string("\0b\0", 3)},
       "TRUE|4|9|0|a\xE0\xA9\x81||\r\nFALSE|0|0|0|||\r\n"},
  };
  for (const TCaseRec& c : cases) {
    for (const uint64_t fileSize : {0, 64 << 20}) {  // a pipe, and a large file read into room for bulk input
      ResetFake();
      Fake.Input = c.reads;
      Fake.InputFileSize = fileSize;
      EXPECT_EQ(RunFakeProgram({"--lines", "TOKEN"}), ExitTokenFound) << c.out;
      EXPECT_EQ(Fake.Out, c.out);
    }
  }
}

// Sixteen bytes at a time, and the search back for the last one, against
// a count byte by byte.
TEST(CountLineEnds, AgreesWithACountByteByByte) {
  std::mt19937 rng(5);
  for (int round = 0; round < 5000; ++round) {
    std::string bytes(rng() % (round < 4000 ? 80 : 9000), 'x');
    for (char& c : bytes) c = rng() % 9 == 0 ? '\n' : 'x';
    ASSERT_EQ(CountLineEnds(bytes), static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    ASSERT_EQ(AfterLastLineEnd(bytes), bytes.rfind('\n') + 1) << bytes.size();
  }
}

// The one pass over held lines, with AVX2 where the CPU has it and
// without, counting lines or leaping to the rarest byte, against a search
// and a count of the line ends before the hit: in either case, across
// blocks of 64 bytes, and on texts full of the pair but not the token,
// where FindBytes takes over.
TEST(FindHitLine, AgreesWithASearchAndACountOfLineEnds) {
  std::mt19937 rng(8);
  const char pool[] = "aAbB: ";
  for (int round = 0; round < 6000; ++round) {
    const bool dense = round % 5 == 0;
    const unsigned lineBytes = round % 3 == 0 ? 4 : round % 3 == 1 ? 50 : 200;  // about, from line end to line end
    std::string text(rng() % 700, 'a'), token(1 + rng() % 6, 'a');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = rng() % lineBytes == 0 ? '\n' : dense ? "ab"[i % 2] : pool[rng() % 6];
    for (char& c : token) c = pool[rng() % 4];
    if (dense) token = "ababb";                                   // its pair stands at every other byte
    if (round % 50 == 1) text.assign(4000 + rng() % 9000, '\n');  // more line ends than a byte lane counts
    if (round % 50 == 2) {  // a long text without the token's bytes but where it is put
      text.assign(1000 + rng() % 3000, 'x');
      for (char& c : text) c = rng() % 50 == 0 ? '\n' : c;
    }
    if (round % 7 == 3 && !text.empty()) text[rng() % text.size()] = '\xE9';  // a byte beyond ASCII
    if (rng() % 4 == 0 || round % 50 == 2) text.insert(rng() % (text.size() + 1), token);
    const bool fold = rng() % 2;
    std::string key = token, hay = text;
    for (char& c : key) c = fold ? AsciiLower(c) : c;
    for (char& c : hay) c = fold ? AsciiLower(c) : c;
    const size_t at = hay.find(key), stop = at == std::string::npos ? text.size() : at;
    const size_t lineStart = text.rfind('\n', stop == 0 ? std::string::npos : stop - 1);
    const TTokenRec<char> prepared = PrepareToken(std::string_view(key), fold);
    for (const bool count : {true, false}) {
      const TLineHitRec avx2 = FindHitLine(prepared, text, count), sse2 = FindHitLineSse2(prepared, text, count);
      for (const TLineHitRec& hit : {avx2, sse2}) {
        const std::string what = text + " / " + key + (count ? "" : " (not counted)");
        ASSERT_EQ(hit.Hit, at == std::string::npos ? NoHit : at) << what;
        if (count) {
          ASSERT_EQ(hit.Lines, static_cast<size_t>(std::count(text.begin(), text.begin() + stop, '\n'))) << what;
        }
        ASSERT_EQ(hit.LineStart, stop == 0 || lineStart == std::string::npos ? 0 : lineStart + 1) << what;
        ASSERT_EQ(hit.LineEnd, at == std::string::npos ? NoHit : text.find('\n', at)) << what;
        if (hit.Ascii) {
          ASSERT_TRUE(IsAsciiText(std::string_view(text).substr(hit.LineStart, hit.LineEnd - hit.LineStart))) << what;
        }
      }
    }
  }
}

// Each line of --lines gets what a call gives it, where the line's result
// goes inline from the pass over the held lines to the writer: a token at
// either end of its line, twice in it, or inside words longer than a scan
// of sixteen bytes looks at; lines shorter than that; --all, a length,
// --up-to and a set of five delimiters (which the words of sixteen bytes
// leave to the slower way).
TEST(SearchInputLines, GivesEachLineWhatACallGivesIt) {
  std::mt19937 rng(11);
  const char* const pieces[] = {"TOK", "x", "yy", " ", ",", ";", "wordwordwordwordword", "TOKTOK", "\xC3\xA9"};
  std::vector<std::string> lines;
  for (int i = 0; i < 120; ++i) {
    std::string line;
    for (int n = static_cast<int>(rng() % 9); n > 0; --n) line += pieces[rng() % (i < 90 ? 8 : 9)];
    lines.push_back(line);
  }
  const struct {
    std::vector<std::string> before, after;  // the switches, and the arguments after the token
  } sets[] = {{{}, {}}, {{"--all"}, {}}, {{}, {"3"}}, {{"--up-to"}, {"4"}}, {{}, {"0", " ,;x-"}}};
  for (const auto& set : sets) {
    std::string each, input;
    for (const std::string& line : lines) {
      std::vector<std::string> call = set.before;
      call.push_back(line);
      call.push_back("TOK");
      call.insert(call.end(), set.after.begin(), set.after.end());
      ResetFake();
      RunFakeProgram(call);
      each += Fake.Out;
      input += line + "\n";
    }
    std::vector<std::string> all = {"--lines"};
    all.insert(all.end(), set.before.begin(), set.before.end());
    all.push_back("TOK");
    all.insert(all.end(), set.after.begin(), set.after.end());
    ResetFake();
    Fake.Input = {input};
    RunFakeProgram(all);
    EXPECT_EQ(Fake.Out, each) << (set.before.empty() ? "" : set.before[0]) << set.after.size();
  }
}

// Case ignored, a long line is folded a block (64 Ki units) at a time: an
// occurrence across the first block's end, and one after a surrogate pair
// that the block's end would split.
TEST(SearchInputLines, FindsAFoldedTokenAcrossBlocks) {
  std::string e;
  for (int i = 0; i < 65534; ++i) e += "\xC3\xA9";                    // é
  const std::string astral = "\xF0\x9F\x98\x80", longS = "\xC5\xBF";  // U+1F600, ſ
  const struct {
    std::string line, out;
  } cases[] = {
      {e + longS + "tok x", "65535\n"},
      {e + "e" + astral + longS + "tok x", "65538\n"},
      {e + "e" + astral + "x", "0\n"},
  };
  for (const auto& c : cases) {
    ResetFake();
    Fake.Input = {"\xEF\xBB\xBF" + c.line + "\n"};
    RunFakeProgram({"--lines", "--ignore-case", "--field=position", "STOK"});
    EXPECT_EQ(Fake.Out, c.out);
  }
}

TEST(SearchInputLines, EndsWith217AndAReportWhenAReadFails) {
  ResetFake();
  Fake.Input = {"a TOKEN\n"};
  Fake.InputFails = true;
  EXPECT_EQ(RunFakeProgram({"--lines", "TOKEN"}), ExitWriteFailed);
  EXPECT_EQ(Fake.Out, "TRUE|3|8|0|a||\r\n");  // what was ready went out first
  EXPECT_TRUE(std::regex_match(Fake.Err, std::regex("An unhandled exception occurred at \\$[0-9A-F]{16}:\r\n"
                                                    "EInOutError: Disk read error\r\n(  \\$[0-9A-F]{16}\r\n)+\r\n")))
      << Fake.Err;
}

}  // namespace
