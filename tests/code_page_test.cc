#include "text/codecs.h"

#include <gtest/gtest.h>

#include "text/ascii.h"
#include "text/double_byte.h"

namespace {

TEST(CodePageFromCharsetName, KnowsTheCodecsAndTheirAliases) {
  EXPECT_EQ(CodePageFromCharsetName("UTF-8"), CodePageUtf8);
  EXPECT_EQ(CodePageFromCharsetName("utf8"), CodePageUtf8);
  EXPECT_EQ(CodePageFromCharsetName("ANSI_X3.4-1968"), CodePageUtf8);  // the C locale
  EXPECT_EQ(CodePageFromCharsetName("ISO-8859-1"), CodePageLatin1);
  EXPECT_EQ(CodePageFromCharsetName("ISO-8859-15"), CodePageLatin9);
  EXPECT_EQ(CodePageFromCharsetName("CP1252"), CodePageWindows1252);
  EXPECT_EQ(CodePageFromCharsetName("EUC-JP"), CodePageEucJp);
  EXPECT_EQ(CodePageFromCharsetName("GB2312"), CodePageGbk);
  EXPECT_EQ(CodePageFromCharsetName("KOI8-R"), CodePageBytes);
  EXPECT_EQ(CodePageFromCharsetName(""), CodePageBytes);
}

TEST(DecodeFromCodePage, KeepsEachByteThatStartsNoCharacterAsItsEscape) {
  struct TCaseRec {
    uint32_t cp;
    const char* in;
    std::u16string out;
  } cases[] = {
      {CodePageUtf8, "abc", u"abc"},
      {CodePageUtf8,
       "Gr\xC3\xBC\xC3\x9F"
       "e",
       u"Grüße"},
      {CodePageUtf8, "\xF0\x9F\x98\x80", u"😀"},
      {CodePageUtf8, "\xEF\xBF\xBF", u"\xFFFF"},
      {CodePageUtf8, "\x80", u"\xDC80"},
      {CodePageUtf8, "a\xC3", u"a\xDCC3"},  // truncated at the end
      {CodePageUtf8,
       "\xC3"
       "a",
       u"\xDCC3"
       "a"},  // a bad continuation is not swallowed
      {CodePageUtf8,
       "\xE2\x82"
       "x",
       u"\xDCE2\xDC82"
       "x"},                                                            // truncated: each byte stands alone
      {CodePageUtf8, "\xC0\xAF", u"\xDCC0\xDCAF"},                      // overlong
      {CodePageUtf8, "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},            // an encoded surrogate
      {CodePageUtf8, "\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},  // beyond U+10FFFF
      {CodePageBytes, "K\xCF\xC9", u"K\xDCCF\xDCC9"},
      {CodePageGb18030, "\x80\x81\x30\x20\xD6",
       u"\xDC80\xDC81"
       "0 \xDCD6"},
      {CodePageShiftJis,
       "\xFD"
       "a\x95",
       u"\xDCFD"
       "a\xDC95"},  // a lead byte at the end
      {CodePageEucJp, "\x8F\xA2", u"\xDC8F\xDCA2"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeFromCodePage(c.in, c.cp), c.out) << c.cp << " " << c.in;
}

TEST(DecodeFromCodePage, ReadsAndWritesTheDoubleBytePages) {
  struct TCaseRec {
    uint32_t cp;
    const char* bytes;
    std::u16string text;
  } cases[] = {
      {CodePageGb18030, "a\xD6\xD0\x81\x30\x84\x38\x94\x39\xFC\x36\x81\x30\x81\x30", u"a中©😀\x80"},
      {CodePageGbk, "\xD6\xD0", u"中"},
      {CodePageBig5, "\xA4\xA4", u"中"},
      {CodePageEucKr, "\xB0\xA1", u"가"},
      {CodePageEucJp, "\xC6\xFC\x8E\xB1\x8F\xA2\xED", u"日ｱ©"},
      {CodePageEucJp, "\x8F\xA2\xB7", u"\uFF5E"},            // the system's character; Python's codec says "~"
      {CodePageShiftJis, "\x93\xFA\xB1\x95\x5C", u"日ｱ表"},  // a trail byte 5C is no "\\"
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeFromCodePage(c.bytes, c.cp), c.text) << c.cp;
    EXPECT_EQ(EncodeToCodePage(c.text, c.cp), c.bytes) << c.cp;
  }
  EXPECT_EQ(EncodeToCodePage(u"😀\xDC80", CodePageEucKr), "??");
  EXPECT_EQ(EncodeToCodePage(u"é\xDCE9", CodePageBytes), "??");
}

// ASCII stands for its own byte alone in every codeset tokloc reads: a
// search for "~" must not find EUC-JP 8F A2 B7, whose character is U+FF5E.
TEST(DecodeFromCodePage, NoMultiByteCodeIsAscii) {
  for (uint32_t cp : {CodePageGb18030, CodePageGbk, CodePageBig5, CodePageEucKr, CodePageEucJp, CodePageShiftJis}) {
    for (unsigned prefix : {0u, 0x8Fu}) {
      if (prefix && cp != CodePageEucJp) continue;
      for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        for (unsigned trail = 0x00; trail <= 0xFF; ++trail) {
          std::string code = prefix ? std::string(1, static_cast<char>(prefix)) : std::string();
          code += static_cast<char>(lead);
          code += static_cast<char>(trail);
          const std::u16string wide = DecodeFromCodePage(code, cp);
          if (wide.size() == 1) {
            EXPECT_GE(wide[0], 0x80) << cp << " " << lead << " " << trail;
          }
        }
      }
    }
  }
}

TEST(EncodeToCodePage, ReplacesWhatTheTargetLacksWithAQuestionMark) {
  EXPECT_EQ(EncodeToCodePage(u"Grüße 😀", CodePageUtf8),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xF0\x9F\x98\x80");
  EXPECT_EQ(EncodeToCodePage(u"a\xD800"
                             "b\xDC00",
                             CodePageUtf8),
            "a?b?");                                                 // lone surrogates
  EXPECT_EQ(EncodeToCodePage(u"\xDC00\xD800", CodePageUtf8), "??");  // reversed pair
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

namespace {

TEST(IsAsciiText, FindsAHighByteAtAnyPlace) {
  for (size_t size = 0; size <= 70; ++size) {
    const std::string ascii(size, 'a');
    EXPECT_TRUE(IsAsciiText(ascii)) << size;
    for (size_t at = 0; at < size; ++at) {
      std::string text = ascii;
      text[at] = '\x80';
      EXPECT_FALSE(IsAsciiText(text)) << size << " " << at;
    }
  }
}

}  // namespace
