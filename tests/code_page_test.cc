#include "text/code_page.h"

#include <gtest/gtest.h>



namespace {

TEST(CodePageFromCharsetName, KnowsTheCodecsAndTheirAliases) {
  EXPECT_EQ(CodePageFromCharsetName("UTF-8"), CodePageUtf8);
  EXPECT_EQ(CodePageFromCharsetName("utf8"), CodePageUtf8);
  EXPECT_EQ(CodePageFromCharsetName("ANSI_X3.4-1968"), CodePageUtf8);  // the C locale
  EXPECT_EQ(CodePageFromCharsetName("ISO-8859-1"), CodePageLatin1);
  EXPECT_EQ(CodePageFromCharsetName("ISO-8859-15"), CodePageLatin9);
  EXPECT_EQ(CodePageFromCharsetName("CP1252"), CodePageWindows1252);
  EXPECT_EQ(CodePageFromCharsetName("EUC-JP"), 0u);
  EXPECT_EQ(CodePageFromCharsetName(""), 0u);
}

TEST(DecodeFromCodePage, ReplacesEachInvalidUtf8SequenceOnce) {
  struct TCaseRec { const char* in; std::u16string out; } cases[] = {
      {"abc", u"abc"},
      {"Gr\xC3\xBC\xC3\x9F" "e", u"Grüße"},
      {"\xF0\x9F\x98\x80", u"😀"},
      {"\xEF\xBF\xBF", u"\xFFFF"},
      {"\x80", u"\xFFFD"},
      {"a\xC3", u"a\xFFFD"},                      // truncated at the end
      {"\xC3" "a", u"\xFFFD" "a"},                // a bad continuation is not swallowed
      {"\xE2\x82" "x", u"\xFFFD" "x"},            // maximal subpart: one replacement
      {"\xC0\xAF", u"\xFFFD\xFFFD"},              // overlong
      {"\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},    // overlong three-byte form
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},    // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // beyond U+10FFFF
      {"\xFF\xFE", u"\xFFFD\xFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeFromCodePage(c.in, CodePageUtf8), c.out) << c.in;
}

TEST(EncodeToCodePage, ReplacesWhatTheTargetLacksWithAQuestionMark) {
  EXPECT_EQ(EncodeToCodePage(u"Grüße 😀", CodePageUtf8), "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80");
  EXPECT_EQ(EncodeToCodePage(u"a\xD800" "b\xDC00", CodePageUtf8), "a?b?");  // lone surrogates
  EXPECT_EQ(EncodeToCodePage(u"\xDC00\xD800", CodePageUtf8), "??");         // reversed pair
  EXPECT_EQ(EncodeToCodePage(u"€ü😀", CodePageWindows1252), "\x80\xFC?");
  EXPECT_EQ(EncodeToCodePage(u"€ü¤", CodePageLatin1), "?\xFC\xA4");
  EXPECT_EQ(EncodeToCodePage(u"€ü¤", CodePageLatin9), "\xA4\xFC?");
}

TEST(DecodeFromCodePage, RoundTripsEveryByteOfTheSingleBytePages) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  for (uint32_t cp : {CodePageWindows1252, CodePageLatin1, CodePageLatin9}) {
    const std::u16string wide = DecodeFromCodePage(all, cp);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(EncodeToCodePage(wide, cp), all) << cp;
  }
  EXPECT_EQ(DecodeFromCodePage("\x80\x9F", CodePageWindows1252), u"€Ÿ");
  EXPECT_EQ(DecodeFromCodePage("\xA4\xBE", CodePageLatin9), u"€Ÿ");
}

}  // namespace
