#include "app/units.h"

#include "core/text_conversion.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace {

// The characters or bytes of the character of width UTF-16 units at
// text[i] (UTF-16 units are counted without it).
int64_t CharUnits(const TUnitCountRec& count, std::u16string_view text, size_t i, char32_t c, size_t width) {
  if (count.Units == TUnits::Chars) return 1;
  if (count.BytesCp == CodePageUtf16) return static_cast<int64_t>(2 * width);
  // A byte escape is the one byte it stands for; a lone surrogate is
  // written as "?".
  if (c < 0x80 || IsSurrogate(c)) return 1;
  if (count.BytesCp == CodePageUtf8) return c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  return static_cast<int64_t>(NarrowFromWide(text.substr(i, width), count.BytesCp, count.UnitsCp).size());
}

}  // namespace

int64_t CountUnits(const TUnitCountRec& count, std::u16string_view text) {
  if (count.Units == TUnits::Utf16) return static_cast<int64_t>(text.size());
  int64_t units = 0;
  size_t width;
  for (size_t i = 0; i < text.size(); i += width) {
    const char32_t c = CodePointAt(text, i, width);
    units += CharUnits(count, text, i, c, width);
  }
  return units;
}

std::u16string_view TextBeforeSpanIn(const TUnitCountRec& count, std::u16string_view text, int64_t tokenPos,
                                     int32_t requestedLength, const TCharSetRec& delimiters) {
  if (count.Units == TUnits::Utf16 || requestedLength < 1) {
    return TextBeforeSpan(text, tokenPos, requestedLength, delimiters);
  }
  const size_t end = static_cast<size_t>(tokenPos - 1);
  size_t start = end, width;
  int64_t units = 0;
  while (start > 0 && units < requestedLength) {
    const char32_t c = CodePointBefore(text, start, width);
    start -= width;
    units += CharUnits(count, text, start, c, width);
  }
  // Fewer units than asked for stand before the token: the word instead.
  if (units < requestedLength) return TextBeforeSpan(text, tokenPos, 0, delimiters);
  return text.substr(start, end - start);
}

std::u16string_view TextAfterSpanIn(const TUnitCountRec& count, std::u16string_view text, int64_t afterPos,
                                    int32_t requestedLength, const TCharSetRec& delimiters) {
  if (count.Units == TUnits::Utf16 || requestedLength < 1) {
    return TextAfterSpan(text, afterPos, requestedLength, delimiters);
  }
  const size_t start = static_cast<size_t>(afterPos - 1);
  if (start >= text.size()) return {};
  size_t end = start, width;
  int64_t units = 0;
  while (end < text.size() && units < requestedLength) {
    const char32_t c = CodePointAt(text, end, width);
    units += CharUnits(count, text, end, c, width);
    end += width;
  }
  return text.substr(start, end - start);
}
