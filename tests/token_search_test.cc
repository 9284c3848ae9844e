#include "app/token_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/reference_search.h"
#include "text/ascii.h"
#include "text/codecs.h"
#include "text/utf16.h"

namespace {

std::u16string W(const std::string& utf8) { return DecodeFromCodePage(utf8, CodePageUtf8); }
std::string U(const std::u16string& wide) { return EncodeToCodePage(wide, CodePageUtf8); }

TEST(LocateToken, FindsTheFirstExactOccurrence) {
  struct TCaseRec {
    const char* token;
    const char* text;
    int32_t pos;
  } cases[] = {
      {"long", "This is not a very long string", 20},
      {"THIS:", "We can look for tokens like THIS: even in the middle", 29},
      {"LINE", "And we can look for tokens at the very end on the line", 0},
      {"line", "And we can look for tokens at the very end on the line", 51},
      {"ab", "xabyab", 2},
      {"x", "x", 1},
      {"xy", "x", 0},
      {"", "abc", 0},
      {"a", "", 0},
      {"aab", "aaab", 2},
      {"abab", "abaabab", 4},
      {"ü", "Grüße", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(LocateToken<char16_t>(W(c.token), W(c.text)), c.pos) << c.token;
  // A byte that was no valid text is a lone surrogate; it never matches
  // half of a pair (U+1F480 is D83D DC80).
  EXPECT_EQ(LocateToken<char16_t>(u"\xDC80", u"\U0001F480 x\xDC80"), 5);
  EXPECT_EQ(LocateToken<char16_t>(u"\xD83D", u"\U0001F480"), 0);
}

TEST(LocateToken, AgreesWithANaiveSearchOnRandomTexts) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 20000; ++round) {
    const char16_t alphabet[] = {u'a', u'b', u'c', 0x0161, 0x0261};  // 0x0161/0x0261 share a low byte
    const size_t letters = 2 + rng() % 4;
    std::u16string text(rng() % 40, u'a'), token(1 + rng() % 8, u'a');
    for (auto& c : text) c = alphabet[rng() % letters];
    for (auto& c : token) c = alphabet[rng() % letters];
    if (rng() % 3 == 0 && text.size() > 2) {  // plant a real occurrence
      const size_t at = rng() % text.size();
      token = text.substr(at, 1 + rng() % (text.size() - at));
    }
    ASSERT_EQ(LocateToken<char16_t>(token, text), RefLocate(token, text)) << U(token) << " in " << U(text);
  }
}

// The scan for the rare pair (sixteen and thirty-two at a time, and the
// overlapping last block) and the fold of ASCII letters, prepared or not,
// against a naive search of the text in lower case.
TEST(LocateToken, BytesAgreeWithANaiveSearchInEitherCase) {
  std::mt19937 rng(777);
  const char pool[] = "aAbB:\xC3\n ";
  for (int round = 0; round < 20000; ++round) {
    std::string text(rng() % 300, ' '), token(1 + rng() % 6, ' ');
    for (char& c : text) c = pool[rng() % (sizeof pool - 1)];
    for (char& c : token) c = pool[rng() % (sizeof pool - 1)];
    if (rng() % 2 && !text.empty()) {
      const size_t at = rng() % text.size();
      token = text.substr(at, 1 + rng() % std::min<size_t>(8, text.size() - at));
    }
    const bool fold = rng() % 2;
    std::string lowerText = text, lowerToken = token;
    for (char& c : lowerText) c = AsciiLower(c);
    for (char& c : lowerToken) c = AsciiLower(c);
    const std::string& key = fold ? lowerToken : token;
    const size_t at = (fold ? lowerText : text).find(key);
    const int64_t expected = at == std::string::npos ? 0 : static_cast<int64_t>(at + 1);
    ASSERT_EQ(LocateToken(PrepareToken(std::string_view(key), fold), std::string_view(text)), expected)
        << text << " / " << key << " / " << fold;
    if (!fold) {
      ASSERT_EQ(LocateToken(std::string_view(token), std::string_view(text)), expected);
    }
  }
}

TEST(LocateToken, HandlesPeriodicAndAdversarialTokens) {
  const std::u16string text = std::u16string(100000, u'a');
  EXPECT_EQ(LocateToken<char16_t>(std::u16string(5000, u'a') + u"b", text), 0);
  EXPECT_EQ(LocateToken<char16_t>(std::u16string(5000, u'a') + u"b", text + u"b"), 95001);
  EXPECT_EQ(LocateToken<char16_t>(u"b" + std::u16string(5000, u'a'), u"b" + text), 1);
  std::u16string abab;
  for (int i = 0; i < 50000; ++i) abab += u"ab";
  EXPECT_EQ(LocateToken<char16_t>(abab.substr(0, 999) + u"a", abab), 0);
  EXPECT_EQ(LocateToken<char16_t>(abab.substr(1, 1000), abab), 2);
  // Bytes: the rare pair stands everywhere, so Two-Way takes over.
  const std::string bytes(100000, 'a'), token = std::string(5000, 'a') + "b";
  EXPECT_EQ(LocateToken(PrepareToken(std::string_view(token)), std::string_view(bytes)), 0);
  EXPECT_EQ(LocateToken(PrepareToken(std::string_view(token)), std::string_view(bytes + "B")), 0);
  EXPECT_EQ(LocateToken(PrepareToken(std::string_view(token), true), std::string_view(bytes + "B")), 95001);
}

struct TContextCaseRec {
  const char* text;
  const char* token;
  int32_t length;
  const char* delimiters;
  int32_t pos, after;
  const char* before;
  const char* afterText;
};

TEST(TextAroundToken, ExtractsByLengthOrWholeWord) {
  const TContextCaseRec cases[] = {
      {"This is not a very long string", "long", 0, " ,;", 20, 24, "very", "string"},
      {"We can look for tokens like THIS: even in the middle", "THIS:", 12, " ,;", 29, 34, "tokens like ",
       " even in the"},
      {"We can look for tokens like THIS: even in the middle", "THIS:", 0, " ,;", 29, 34, "like", "even"},
      {"And we can look for tokens at the very end on the line", "line", 7, " ,;", 51, 55, "on the ", ""},
      {"And we can look for tokens at the very end on the line", "line", 0, " ,;", 51, 55, "the", ""},
      {"abc,def;;TOKEN;;ghi jkl", "TOKEN", 0, " ,;", 10, 15, "def", "ghi"},
      {"abcTOKENdef", "TOKEN", 0, " ,;", 4, 9, "abc", "def"},
      {"abcTOKENdef", "TOKEN", 3, " ,;", 4, 9, "abc", "def"},
      {"abcTOKENdef", "TOKEN", 4, " ,;", 4, 9, "abc", "def"},  // too few before: whole word
      {"abcTOKENdef", "TOKEN", -1, " ,;", 4, 9, "abc", "def"},
      {"xx abcTOKENdef", "TOKEN", 100, " ,;", 7, 12, "abc", "def"},
      {"TOKEN", "TOKEN", 0, " ,;", 1, 6, "", ""},
      {"TOKEN", "TOKEN", 3, " ,;", 1, 6, "", ""},
      {"  TOKEN  ", "TOKEN", 0, " ,;", 3, 8, "", ""},
      {"x-y TOKEN a-b", "TOKEN", 0, " ,;", 5, 10, "x-y", "a-b"},
      {"x-y TOKEN a-b", "TOKEN", 0, "-", 5, 10, "y ", " a"},
      {"a b", "b", 0, " ,;", 3, 4, "a", ""},
      {"a;b", ";", 0, " ,;", 2, 3, "a", "b"},
      {"one two one", "one", 0, " ,;", 1, 4, "", "two"},
      // Characters beyond one byte are cut whole, at UTF-16 positions.
      {"Grüße an alle", "an", 0, " ,;", 7, 9, "Grüße", "alle"},
      {"Grüße an alle", "an", 3, " ,;", 7, 9, "ße ", " al"},
      {"x€y TOKEN €z", "TOKEN", 0, "€", 5, 10, "y ", " "},
      {"a😀b TOKEN c", "TOKEN", 0, " ", 6, 11, "a😀b", "c"},
      {"a😀b TOKEN c", "TOKEN", 0, "😀 ", 6, 11, "b", "c"},
      {"a😀TOKEN😀b", "TOKEN", 1, " ", 4, 9, "😀", "😀"},  // a cut never splits a pair
  };
  for (const TContextCaseRec& c : cases) {
    const std::u16string text = W(c.text), token = W(c.token);
    const TCharSetRec set = BuildDelimiterSet(W(c.delimiters));
    const int64_t pos = LocateToken<char16_t>(token, text);
    const int64_t after = pos + static_cast<int64_t>(token.size());
    EXPECT_EQ(pos, c.pos) << c.text;
    EXPECT_EQ(after, c.after) << c.text;
    EXPECT_EQ(U(TextBeforeToken<char16_t>(text, pos, c.length, set)), c.before) << c.text << " / " << c.length;
    EXPECT_EQ(U(TextAfterToken<char16_t>(text, after, c.length, set)), c.afterText) << c.text << " / " << c.length;
  }
}

TEST(CopyText, ClampsIndexAndCount) {
  const std::u16string s = u"abcdef";
  EXPECT_EQ(CopyText(s, 2, 3), u"bcd");
  EXPECT_EQ(CopyText(s, 0, 2), u"ab");
  EXPECT_EQ(CopyText(s, -5, 2), u"ab");
  EXPECT_EQ(CopyText(s, 5, 100), u"ef");
  EXPECT_EQ(CopyText(s, 7, 1), u"");
  EXPECT_EQ(CopyText(s, 3, 0), u"");
  EXPECT_EQ(CopyText(s, 3, -1), u"");
  EXPECT_EQ(CopyText(s, 1, INT32_MAX), u"abcdef");
}

TEST(FirstWordPosition, SkipsLeadingDelimiters) {
  const TCharSetRec set = BuildDelimiterSet(u" ,;");
  EXPECT_EQ(FirstWordPosition(u"", set), 0);
  EXPECT_EQ(FirstWordPosition(u" ;, ", set), 0);
  EXPECT_EQ(FirstWordPosition(u"ab", set), 1);
  EXPECT_EQ(FirstWordPosition(u" ,x y", set), 3);
  EXPECT_EQ(ExtractFirstWord(u" ,xy;z", set), u"xy");
  EXPECT_EQ(ExtractFirstWord(u"", BuildDelimiterSet(u"")), u"");
  EXPECT_EQ(ExtractFirstWord(u" a b", BuildDelimiterSet(u"")), u" a b");
}

// In a single-byte page every byte is one character and one unit, so the
// extraction must give exactly the bytes of the byte-indexed rules.
TEST(TextAroundToken, MatchesTheReferenceInSingleByteCodePages) {
  std::mt19937 rng(777);
  for (uint32_t cp : {CodePageWindows1252, CodePageLatin1, CodePageLatin9}) {
    for (int round = 0; round < 20000; ++round) {
      // A small alphabet of delimiters, letters and high bytes makes words,
      // touching delimiters and matches likely.
      const char pool[] = " ,;-ab\x80\x9F\xA4\xE9\xFF\x01";
      auto pick = [&] { return pool[rng() % (sizeof pool - 1)]; };
      std::string text(rng() % 24, ' '), token(1 + rng() % 3, ' '), delims(rng() % 4, ' ');
      for (char& c : text) c = pick();
      for (char& c : token) c = pick();
      for (char& c : delims) c = pick();
      if (rng() % 2 && !text.empty()) {
        const size_t at = rng() % text.size();
        token = text.substr(at, 1 + rng() % 3);
      }
      if (delims.empty()) delims = " ,;";
      const int32_t n = static_cast<int32_t>(rng() % 14) - 3;

      const std::u16string wideText = DecodeFromCodePage(text, cp);
      const std::u16string wideToken = DecodeFromCodePage(token, cp);
      const int64_t pos = LocateToken<char16_t>(wideToken, wideText);
      const size_t bytePos = text.find(token);
      ASSERT_EQ(pos, bytePos == std::string::npos ? 0 : static_cast<int32_t>(bytePos + 1));
      if (pos == 0) continue;
      const int64_t after = pos + static_cast<int64_t>(token.size());
      const std::u16string wideDelims = DecodeFromCodePage(delims, cp);
      const TCharSetRec set = BuildDelimiterSet(wideDelims);
      ASSERT_EQ(EncodeToCodePage(TextBeforeToken<char16_t>(wideText, pos, n, set), cp),
                EncodeToCodePage(RefBefore(wideText, pos, n, wideDelims), cp))
          << "cp " << cp << " text [" << text << "] token [" << token << "] n " << n;
      ASSERT_EQ(EncodeToCodePage(TextAfterToken<char16_t>(wideText, after, n, set), cp),
                EncodeToCodePage(RefAfter(wideText, after, n, wideDelims), cp))
          << "cp " << cp << " text [" << text << "] token [" << token << "] n " << n;
    }
  }
}

}  // namespace

namespace {

// The words of places one after the other, from one scan, are those each
// place's own scan finds.
TEST(WordBefore, AgreesWithAScanFromEachPlace) {
  std::mt19937 rng(31);
  const char16_t pool[] = {u' ', u',', u'a', u'b', 0xD83D, 0xDE00, u'c'};
  const TCharSetRec set = BuildDelimiterSet(u" ,");
  for (int round = 0; round < 3000; ++round) {
    std::u16string text(rng() % 40, u' ');
    for (auto& c : text) c = pool[rng() % 7];
    TWordScanRec scan;
    for (size_t at = rng() % 3; at < text.size(); at += 1 + rng() % 4) {
      if (SplitsPairAt(text, at)) continue;
      const std::u16string_view t(text);
      ASSERT_EQ(WordBefore(t, at, set, scan), TextBeforeSpan(t, static_cast<int64_t>(at) + 1, 0, set)) << U(text);
      ASSERT_EQ(WordAfter(t, at, set, scan), TextAfterSpan(t, static_cast<int64_t>(at) + 1, 0, set)) << U(text);
    }
  }
}

// Narrow texts take sixteen bytes at a time where the set holds at most
// four ASCII characters: words and runs of delimiters short and long,
// inside and across those sixteen, and sets of every size.
TEST(TextAroundToken, NarrowAsciiGivesTheSameResultsAsWide) {
  std::mt19937 rng(99);
  const char pool[] = " ,;-abcab";
  for (int round = 0; round < 20000; ++round) {
    const size_t sparse = 1 + rng() % 12;  // letters per delimiter, about
    std::string text(rng() % 60, ' '), token(1 + rng() % 4, ' '), delims(rng() % 6, ' ');
    for (char& c : text) c = pool[rng() % sparse == 0 ? rng() % 4 : 4 + rng() % 5];
    for (char& c : token) c = pool[rng() % (sizeof pool - 1)];
    for (char& c : delims) c = pool[rng() % (sizeof pool - 1)];
    if (round % 2) delims = " ,;";
    const int32_t n = static_cast<int32_t>(rng() % 10) - 2;
    const std::u16string wideText(text.begin(), text.end()), wideToken(token.begin(), token.end());
    const TCharSetRec set = BuildDelimiterSet(std::u16string(delims.begin(), delims.end()));
    const int64_t pos = LocateToken(std::string_view(token), std::string_view(text));
    ASSERT_EQ(pos, LocateToken<char16_t>(wideToken, wideText)) << text << " / " << token;
    if (pos == 0) continue;
    const int64_t after = pos + static_cast<int64_t>(token.size());
    ASSERT_EQ(U(TextBeforeToken<char16_t>(wideText, pos, n, set)), TextBeforeToken(std::string_view(text), pos, n, set))
        << text << " / " << token << " / " << delims;
    ASSERT_EQ(U(TextAfterToken<char16_t>(wideText, after, n, set)),
              TextAfterToken(std::string_view(text), after, n, set))
        << text << " / " << token << " / " << delims;
  }
}

}  // namespace
