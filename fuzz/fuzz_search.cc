// The search and context extraction against a deliberately simple
// reference, on UTF-8 and single-byte input, wide and narrow.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/token_search.h"
#include "tests/reference_search.h"
#include "text/ascii.h"
#include "text/codecs.h"

// Input: one byte of length and code page, then text, token and delimiters
// separated by 0x00 bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int32_t n = static_cast<int32_t>(data[0] & 0x1F) - 4;
  const uint32_t cp = data[0] & 0x20 ? CodePageWindows1252 : CodePageUtf8;
  std::string parts[3];
  size_t k = 0;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && k < 2) {
      ++k;
      continue;
    }
    parts[k].push_back(static_cast<char>(data[i]));
  }
  const std::u16string text = DecodeFromCodePage(parts[0], cp), token = DecodeFromCodePage(parts[1], cp);
  const std::u16string delims = parts[2].empty() ? u" ,;" : DecodeFromCodePage(parts[2], cp);
  const int64_t pos = LocateToken<char16_t>(token, text);
  if (pos != RefLocate(token, text)) abort();
  const bool ascii = IsAsciiText(parts[0]) && IsAsciiText(parts[1]);
  if (ascii && LocateToken(std::string_view(parts[1]), std::string_view(parts[0])) != pos) abort();
  if (pos == 0) return 0;
  const int64_t after = pos + static_cast<int64_t>(token.size());
  const TCharSetRec set = BuildDelimiterSet(delims);
  const std::u16string before = TextBeforeToken<char16_t>(text, pos, n, set),
                       behind = TextAfterToken<char16_t>(text, after, n, set);
  if (before != RefBefore(text, pos, n, delims) || behind != RefAfter(text, after, n, delims)) abort();
  if (ascii) {
    const std::string narrowBefore = TextBeforeToken(std::string_view(parts[0]), pos, n, set);
    const std::string narrowAfter = TextAfterToken(std::string_view(parts[0]), after, n, set);
    if (std::u16string(narrowBefore.begin(), narrowBefore.end()) != before ||
        std::u16string(narrowAfter.begin(), narrowAfter.end()) != behind)
      abort();
  }
  return 0;
}
