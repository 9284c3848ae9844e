#include "text/case_fold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "text/ascii.h"
#include "text/utf16.h"

namespace {

// Count code points from First, Stride apart, each folding to itself plus
// Delta.
struct TFoldRunRec {
  uint32_t First;
  uint16_t Count;
  uint8_t Stride;
  int32_t Delta;
};

constexpr TFoldRunRec FoldRuns[] = {
#include "text/case_folding_table.inc"
};

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return static_cast<char32_t>(AsciiLower(static_cast<char>(c)));
  // The last run that starts at or before c.
  const TFoldRunRec* run = std::upper_bound(std::begin(FoldRuns), std::end(FoldRuns), c,
                                            [](char32_t code, const TFoldRunRec& r) { return code < r.First; });
  if (run == std::begin(FoldRuns)) return c;
  --run;
  const uint32_t offset = c - run->First;
  if (offset % run->Stride != 0 || offset / run->Stride >= run->Count) return c;
  return static_cast<char32_t>(static_cast<int32_t>(c) + run->Delta);
}

void FoldCaseUtf16(std::u16string& folded) {
  size_t width;
  for (size_t i = 0; i < folded.size(); i += width) {
    const char32_t c = CodePointAt(folded, i, width);
    if (c < 0x41 || IsSurrogate(c)) continue;
    const char32_t f = FoldCase(c);
    if (f != c) PutUtf16(&folded[i], f);
  }
}

void FoldCaseAscii(std::string& text) {
  for (char& c : text) c = AsciiLower(c);
}
