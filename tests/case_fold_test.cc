#include "text/case_fold.h"

#include <gtest/gtest.h>

TEST(FoldCase, FoldsOneCharacterToOne) {
  const struct {
    char32_t From, To;
  } cases[] = {
      {U'A', U'a'},
      {U'z', U'z'},
      {U'@', U'@'},
      {U'\u00C0', U'\u00E0'},  // À
      {U'\u00B5', U'\u03BC'},  // micro sign
      {U'\u017F', U's'},
      {U'\u212A', U'k'},       // long s, Kelvin
      {U'\u1E9E', U'\u00DF'},  // capital sharp s
      {U'\u00DF', U'\u00DF'},  // full folding would give "ss"
      {U'\u03A3', U'\u03C3'},
      {U'\u03C2', U'\u03C3'},  // sigma, final sigma
      {U'\u01C5', U'\u01C6'},
      {U'\u0100', U'\u0101'},
      {U'\u0101', U'\u0101'},  // runs of pairs
      {U'\u0130', U'\u0130'},  // only Turkic or full folding changes I with dot
      {U'\U00010400', U'\U00010428'},
      {U'\U0001E900', U'\U0001E922'},  // Deseret, Adlam
      {U'\U0010FFFF', U'\U0010FFFF'},
  };
  for (const auto& c : cases) EXPECT_EQ(static_cast<uint32_t>(FoldCase(c.From)), static_cast<uint32_t>(c.To));
}

TEST(FoldCaseUtf16, KeepsLengthsAndLoneSurrogates) {
  std::u16string text = u"\u212A\U00010400x\xDC80\xD800Y";
  FoldCaseUtf16(text);
  EXPECT_EQ(text, u"k\U00010428x\xDC80\xD800y");
}

// A search of lines in bulk with case ignored relies on this: a token
// without "k" or "s" is in no line whose bytes lack it.
TEST(FoldCase, IntoAsciiOnlyKelvinAndLongS) {
  for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
    const char32_t folded = FoldCase(c);
    if (folded < 0x80) {
      EXPECT_TRUE(folded == U'k' || folded == U's') << static_cast<uint32_t>(c);
    }
  }
}
