// The search and context extraction against a deliberately simple
// reference, on UTF-8 and single-byte input, wide and narrow.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/token_search.h"
#include "text/ascii.h"
#include "text/code_page.h"

namespace {

// Characters of s with the unit index each starts at.
struct Char { char32_t c; size_t at, width; };

std::vector<Char> Chars(const std::u16string& s) {
  std::vector<Char> out;
  for (size_t i = 0; i < s.size();) {
    if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      out.push_back({0x10000 + ((char32_t(s[i]) - 0xD800) << 10) + (s[i + 1] - 0xDC00), i, 2});
      i += 2;
    } else {
      out.push_back({s[i], i, 1});
      i += 1;
    }
  }
  return out;
}

bool IsDelimiter(char32_t c, const std::u16string& delims) {
  for (const Char& d : Chars(delims))
    if (d.c == c) return true;
  return false;
}

int32_t RefLocate(const std::u16string& token, const std::u16string& text) {
  if (token.empty() || token.size() > text.size()) return 0;
  for (size_t i = 0; i + token.size() <= text.size(); ++i)
    if (text.compare(i, token.size(), token) == 0) return static_cast<int32_t>(i + 1);
  return 0;
}

std::u16string RefBefore(const std::u16string& text, int32_t pos, int32_t n, const std::u16string& delims) {
  if (n >= 1 && int64_t{pos} - n >= 1) return text.substr(static_cast<size_t>(pos - n - 1), static_cast<size_t>(n));
  std::vector<Char> chars = Chars(text.substr(0, static_cast<size_t>(pos - 1)));
  size_t end = chars.size();
  while (end > 0 && IsDelimiter(chars[end - 1].c, delims)) --end;
  size_t start = end;
  while (start > 0 && !IsDelimiter(chars[start - 1].c, delims)) --start;
  if (start == end) return {};
  return text.substr(chars[start].at, chars[end - 1].at + chars[end - 1].width - chars[start].at);
}

std::u16string RefAfter(const std::u16string& text, int32_t after, int32_t n, const std::u16string& delims) {
  const std::u16string tail = text.substr(std::min(text.size(), static_cast<size_t>(after - 1)));
  if (n >= 1) return tail.substr(0, static_cast<size_t>(n));
  std::vector<Char> chars = Chars(tail);
  size_t start = 0;
  while (start < chars.size() && IsDelimiter(chars[start].c, delims)) ++start;
  size_t end = start;
  while (end < chars.size() && !IsDelimiter(chars[end].c, delims)) ++end;
  if (start == end) return {};
  return tail.substr(chars[start].at, chars[end - 1].at + chars[end - 1].width - chars[start].at);
}

}  // namespace

// Input: one byte of length and code page, then text, token and delimiters
// separated by 0x00 bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int32_t n = static_cast<int32_t>(data[0] & 0x1F) - 4;
  const uint32_t cp = data[0] & 0x20 ? CodePageWindows1252 : CodePageUtf8;
  std::string parts[3];
  size_t k = 0;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && k < 2) { ++k; continue; }
    parts[k].push_back(static_cast<char>(data[i]));
  }
  const std::u16string text = Utf16FromCodePage(parts[0], cp), token = Utf16FromCodePage(parts[1], cp);
  const std::u16string delims = parts[2].empty() ? u" ,;" : Utf16FromCodePage(parts[2], cp);
  const int32_t pos = LocateToken<char16_t>(token, text);
  if (pos != RefLocate(token, text)) abort();
  const bool ascii = IsAsciiText(parts[0]) && IsAsciiText(parts[1]);
  if (ascii && LocateToken(std::string_view(parts[1]), std::string_view(parts[0])) != pos) abort();
  if (pos == 0) return 0;
  const int32_t after = pos + static_cast<int32_t>(token.size());
  const TCharSet set = BuildDelimiterSet(delims);
  const std::u16string before = TextBeforeToken<char16_t>(text, pos, n, set), behind = TextAfterToken<char16_t>(text, after, n, set);
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
