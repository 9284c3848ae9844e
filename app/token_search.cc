#include "app/token_search.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character starting at s[i] and how many units it takes.
char32_t CharAt(std::u16string_view s, size_t i, size_t& width) {
  width = 1;
  if (IsHighSurrogate(s[i]) && i + 1 < s.size() && IsLowSurrogate(s[i + 1])) {
    width = 2;
    return 0x10000 + ((char32_t{s[i]} - 0xD800) << 10) + (s[i + 1] - 0xDC00);
  }
  return s[i];
}

// The character ending at s[end - 1] and how many units it takes.
char32_t CharBefore(std::u16string_view s, size_t end, size_t& width) {
  width = 1;
  if (IsLowSurrogate(s[end - 1]) && end >= 2 && IsHighSurrogate(s[end - 2])) {
    width = 2;
    return 0x10000 + ((char32_t{s[end - 2]} - 0xD800) << 10) + (s[end - 1] - 0xDC00);
  }
  return s[end - 1];
}

// Crochemore-Perrin Two-Way search: linear time, constant space. The
// last-unit skip table is indexed by the low byte of a unit; a collision
// only makes a shift shorter, never wrong.
size_t TwoWayFind(const char16_t* h, size_t hl, const char16_t* n, size_t l) {
  uint64_t unitSet[4] = {0, 0, 0, 0};
  size_t shift[256];
  for (size_t i = 0; i < l; ++i) {
    const unsigned b = n[i] & 0xFF;
    unitSet[b >> 6] |= uint64_t{1} << (b & 63);
    shift[b] = i + 1;
  }

  // Maximal suffix under both orders; the critical factorisation is the
  // later of the two.
  size_t ip = static_cast<size_t>(-1), jp = 0, k = 1, p = 1;
  while (jp + k < l) {
    if (n[ip + k] == n[jp + k]) {
      if (k == p) { jp += p; k = 1; } else { ++k; }
    } else if (n[ip + k] > n[jp + k]) {
      jp += k; k = 1; p = jp - ip;
    } else {
      ip = jp++; k = p = 1;
    }
  }
  size_t ms = ip;
  const size_t p0 = p;
  ip = static_cast<size_t>(-1); jp = 0; k = p = 1;
  while (jp + k < l) {
    if (n[ip + k] == n[jp + k]) {
      if (k == p) { jp += p; k = 1; } else { ++k; }
    } else if (n[ip + k] < n[jp + k]) {
      jp += k; k = 1; p = jp - ip;
    } else {
      ip = jp++; k = p = 1;
    }
  }
  if (ip + 1 > ms + 1) ms = ip; else p = p0;

  // A periodic token lets a match remember how much of it is known.
  size_t mem0;
  if (std::memcmp(n, n + p, (ms + 1) * sizeof(char16_t)) != 0) {
    mem0 = 0;
    p = std::max(ms, l - ms - 1) + 1;
  } else {
    mem0 = l - p;
  }
  size_t mem = 0;

  size_t pos = 0;
  while (hl - pos >= l) {
    const unsigned last = h[pos + l - 1] & 0xFF;
    if (!(unitSet[last >> 6] & (uint64_t{1} << (last & 63)))) {
      pos += l;
      mem = 0;
      continue;
    }
    k = l - shift[last];
    if (k != 0) {
      pos += std::max(k, mem);
      mem = 0;
      continue;
    }
    for (k = std::max(ms + 1, mem); k < l && n[k] == h[pos + k]; ++k) {}
    if (k < l) {
      pos += k - ms;
      mem = 0;
      continue;
    }
    for (k = ms + 1; k > mem && n[k - 1] == h[pos + k - 1]; --k) {}
    if (k <= mem) return pos;
    pos += p;
    mem = mem0;
  }
  return static_cast<size_t>(-1);
}

}  // namespace

TCharSet BuildDelimiterSet(std::u16string_view delimiters) {
  TCharSet set;
  size_t width;
  for (size_t i = 0; i < delimiters.size(); i += width) {
    const char32_t c = CharAt(delimiters, i, width);
    if (c <= 0xFF)
      set.Latin[c >> 6] |= uint64_t{1} << (c & 63);
    else
      set.Others.push_back(c);
  }
  std::sort(set.Others.begin(), set.Others.end());
  set.Others.erase(std::unique(set.Others.begin(), set.Others.end()), set.Others.end());
  return set;
}

bool CharSetHas(const TCharSet& set, char32_t c) {
  if (c <= 0xFF) return (set.Latin[c >> 6] >> (c & 63)) & 1;
  return std::binary_search(set.Others.begin(), set.Others.end(), c);
}

int32_t LocateToken(std::u16string_view token, std::u16string_view text) {
  if (token.empty() || text.empty() || token.size() > text.size()) return 0;
  size_t found;
  if (token.size() == 1) {
    const size_t i = text.find(token[0]);
    found = i == std::u16string_view::npos ? static_cast<size_t>(-1) : i;
  } else {
    found = TwoWayFind(text.data(), text.size(), token.data(), token.size());
  }
  return found == static_cast<size_t>(-1) ? 0 : static_cast<int32_t>(found + 1);
}

std::u16string CopyText(std::u16string_view s, int64_t index, int64_t count) {
  const int64_t length = static_cast<int64_t>(s.size());
  if (index < 1) index = 1;
  if (count > length || index - 1 + count > length) count = length - (index - 1);
  if (count <= 0) return {};
  return std::u16string(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

int32_t FirstWordPosition(std::u16string_view s, const TCharSet& delimiters) {
  size_t width;
  for (size_t i = 0; i < s.size(); i += width)
    if (!CharSetHas(delimiters, CharAt(s, i, width))) return static_cast<int32_t>(i + 1);
  return 0;
}

std::u16string ExtractFirstWord(std::u16string_view s, const TCharSet& delimiters) {
  const int32_t position = FirstWordPosition(s, delimiters);
  if (position == 0) return {};
  const size_t start = static_cast<size_t>(position - 1);
  size_t end = start, width;
  while (end < s.size() && !CharSetHas(delimiters, CharAt(s, end, width))) end += width;
  return std::u16string(s.substr(start, end - start));
}

std::u16string TextBeforeToken(std::u16string_view text, int32_t tokenPos,
                               int32_t requestedLength, const TCharSet& delimiters) {
  const int64_t n = requestedLength;
  if (n >= 1 && tokenPos - n >= 1) {
    if (static_cast<int64_t>(text.size()) >= tokenPos - n) return CopyText(text, tokenPos - n, n);
    return {};
  }
  // Whole word: walk back from the token over touching delimiters, then
  // over the word before them.
  size_t end = std::min(text.size(), static_cast<size_t>(tokenPos > 1 ? tokenPos - 1 : 0));
  size_t width;
  while (end > 0 && CharSetHas(delimiters, CharBefore(text, end, width))) end -= width;
  size_t start = end;
  while (start > 0 && !CharSetHas(delimiters, CharBefore(text, start, width))) start -= width;
  return std::u16string(text.substr(start, end - start));
}

std::u16string TextAfterToken(std::u16string_view text, int32_t afterPos,
                              int32_t requestedLength, const TCharSet& delimiters) {
  const int64_t length = static_cast<int64_t>(text.size());
  if (requestedLength >= 1) {
    if (length >= afterPos) return CopyText(text, afterPos, requestedLength);
    return {};
  }
  if (text.empty() || length < afterPos) return {};
  const size_t start = afterPos > 1 ? static_cast<size_t>(afterPos - 1) : 0;
  return ExtractFirstWord(text.substr(start), delimiters);
}
