#include "tests/reference_search.h"

#include <algorithm>
#include <vector>

namespace {

bool IsLead(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsTrail(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// True when i lies between the two units of a surrogate pair of s.
bool InsidePair(const std::u16string& s, size_t i) {
  return i > 0 && i < s.size() && IsLead(s[i - 1]) && IsTrail(s[i]);
}

// Characters of s with the unit index each starts at.
struct TCharRec {
  char32_t c;
  size_t at, width;
};

std::vector<TCharRec> Chars(const std::u16string& s) {
  std::vector<TCharRec> out;
  for (size_t i = 0; i < s.size();) {
    if (IsLead(s[i]) && i + 1 < s.size() && IsTrail(s[i + 1])) {
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
  for (const TCharRec& d : Chars(delims))
    if (d.c == c) return true;
  return false;
}

}  // namespace

int64_t RefLocate(const std::u16string& token, const std::u16string& text) {
  if (token.empty() || token.size() > text.size()) return 0;
  for (size_t i = 0; i + token.size() <= text.size(); ++i)
    if (text.compare(i, token.size(), token) == 0 && !InsidePair(text, i) && !InsidePair(text, i + token.size()))
      return static_cast<int64_t>(i + 1);
  return 0;
}

std::u16string RefBefore(const std::u16string& text, int64_t pos, int32_t n, const std::u16string& delims) {
  if (n >= 1 && int64_t{pos} - n >= 1) {
    const size_t start =
        static_cast<size_t>(pos - n - 1) - (InsidePair(text, static_cast<size_t>(pos - n - 1)) ? 1 : 0);
    return text.substr(start, static_cast<size_t>(pos - 1) - start);
  }
  std::vector<TCharRec> chars = Chars(text.substr(0, static_cast<size_t>(pos - 1)));
  size_t end = chars.size();
  while (end > 0 && IsDelimiter(chars[end - 1].c, delims)) --end;
  size_t start = end;
  while (start > 0 && !IsDelimiter(chars[start - 1].c, delims)) --start;
  if (start == end) return {};
  return text.substr(chars[start].at, chars[end - 1].at + chars[end - 1].width - chars[start].at);
}

std::u16string RefAfter(const std::u16string& text, int64_t after, int32_t n, const std::u16string& delims) {
  const std::u16string tail = text.substr(std::min(text.size(), static_cast<size_t>(after - 1)));
  if (n >= 1) return tail.substr(0, static_cast<size_t>(n) + (InsidePair(tail, static_cast<size_t>(n)) ? 1 : 0));
  std::vector<TCharRec> chars = Chars(tail);
  size_t start = 0;
  while (start < chars.size() && IsDelimiter(chars[start].c, delims)) ++start;
  size_t end = start;
  while (end < chars.size() && !IsDelimiter(chars[end].c, delims)) ++end;
  if (start == end) return {};
  return tail.substr(chars[start].at, chars[end - 1].at + chars[end - 1].width - chars[start].at);
}
