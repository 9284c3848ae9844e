#include "core/text_conversion.h"

#include "platform/platform.h"
#include "text/code_page.h"
#include "text/utf16.h"

std::string NarrowFromWide(std::u16string_view wide, uint32_t cp, uint32_t sourceCp) {
  if (cp != sourceCp) return WideToNarrow(wide, cp);
  std::string out;
  size_t start = 0;
  for (size_t i = 0; i < wide.size(); ++i) {
    // The second half of a surrogate pair can look like an escape.
    if (!IsByteEscape(wide[i]) || SplitsPairAt(wide, i)) continue;
    if (i > start) out += WideToNarrow(wide.substr(start, i - start), cp);
    out.push_back(ByteOfEscape(wide[i]));
    start = i + 1;
  }
  if (start == 0) return WideToNarrow(wide, cp);
  if (start < wide.size()) out += WideToNarrow(wide.substr(start), cp);
  return out;
}
