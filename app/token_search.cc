#include "app/token_search.h"

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "text/utf16.h"

namespace {

// Narrow text here is ASCII: every byte is a character.
char32_t CharAt(std::string_view s, size_t i, size_t& width) {
  width = 1;
  return static_cast<unsigned char>(s[i]);
}

char32_t CharBefore(std::string_view s, size_t end, size_t& width) {
  width = 1;
  return static_cast<unsigned char>(s[end - 1]);
}

char32_t CharAt(std::u16string_view s, size_t i, size_t& width) { return CodePointAt(s, i, width); }
char32_t CharBefore(std::u16string_view s, size_t end, size_t& width) { return CodePointBefore(s, end, width); }

// True when a cut at index i would split a character: only a surrogate
// pair has more than one unit.
bool SplitsCharAt(std::string_view, size_t) { return false; }
bool SplitsCharAt(std::u16string_view s, size_t i) { return SplitsPairAt(s, i); }

constexpr size_t NotFound = static_cast<size_t>(-1);

// A unit of the text as the search compares it: with Fold, ASCII letters in
// lower case (bytes only).
template <bool Fold, typename TChar>
TChar Unit(TChar c) {
  if constexpr (Fold) return c >= 'A' && c <= 'Z' ? static_cast<TChar>(c + ('a' - 'A')) : c;
  return c;
}

// Index of the first c in h[from, size), or NotFound. Bytes go to memchr;
// UTF-16 units are tested four at a time with the word-wise zero test.
size_t FindUnit(const char* h, size_t from, size_t size, char c) {
  if (from >= size) return NotFound;
  const void* at = std::memchr(h + from, c, size - from);
  return at ? static_cast<size_t>(static_cast<const char*>(at) - h) : NotFound;
}

size_t FindUnit(const char16_t* h, size_t from, size_t size, char16_t c) {
  constexpr uint64_t Ones = 0x0001000100010001u, Highs = 0x8000800080008000u;
  const uint64_t pattern = Ones * c;
  size_t i = from;
  for (; i + 4 <= size; i += 4) {
    uint64_t word;
    std::memcpy(&word, h + i, sizeof word);
    const uint64_t x = word ^ pattern;
    if ((x - Ones) & ~x & Highs) break;
  }
  for (; i < size; ++i)
    if (h[i] == c) return i;
  return NotFound;
}

// The critical factorisation of a token for the Two-Way search: the
// maximal suffix under both orders, the later of the two, and the token's
// period, with how much of a match a periodic token lets the search keep.
struct TFactorisationRec {
  size_t Split = 0;  // the suffix starts after this index (size_t(-1) for all)
  size_t Period = 1;
  size_t Memory = 0;  // units known to match after a shift by Period
};

// The start (less one) of the maximal suffix of n[0, l) under the order
// of units, or its reverse where reversed, and that suffix's period.
template <typename TChar>
size_t MaximalSuffix(const TChar* n, size_t l, bool reversed, size_t& period) {
  size_t ip = static_cast<size_t>(-1), jp = 0, k = 1, p = 1;
  while (jp + k < l) {
    const TChar a = n[ip + k], b = n[jp + k];
    if (a == b) {
      if (k == p) {
        jp += p;
        k = 1;
      } else {
        ++k;
      }
    } else if (reversed ? a < b : a > b) {
      jp += k;
      k = 1;
      p = jp - ip;
    } else {
      ip = jp++;
      k = p = 1;
    }
  }
  period = p;
  return ip;
}

template <typename TChar>
TFactorisationRec Factorise(const TChar* n, size_t l) {
  size_t p0, p;
  size_t ms = MaximalSuffix(n, l, false, p0);
  const size_t ip = MaximalSuffix(n, l, true, p);
  if (ip + 1 > ms + 1)
    ms = ip;
  else
    p = p0;

  TFactorisationRec f;
  f.Split = ms;
  if (std::memcmp(n, n + p, (ms + 1) * sizeof(TChar)) != 0) {
    f.Memory = 0;
    f.Period = std::max(ms, l - ms - 1) + 1;
  } else {
    f.Memory = l - p;
    f.Period = p;
  }
  return f;
}

// FindUnit for a folded unit: every unit is read folded.
template <bool Fold, typename TChar>
size_t FindFoldedUnit(const TChar* h, size_t from, size_t size, TChar c) {
  if constexpr (!Fold) {
    return FindUnit(h, from, size, c);
  } else {
    for (size_t i = from; i < size; ++i)
      if (Unit<true>(h[i]) == c) return i;
    return NotFound;
  }
}

// Crochemore-Perrin Two-Way search: linear time, constant space. A scan for
// the token's last unit skips the alignments that cannot match and, when
// the unit never occurs, ends the search before any other work; the
// factorisation is made only then, unless the caller made it already. With
// Fold, the text is read folded (see Unit).
template <bool Fold, typename TChar>
size_t TwoWayFind(const TChar* h, size_t hl, const TChar* n, size_t l, const TFactorisationRec* made) {
  const TChar last = n[l - 1];
  const size_t first = FindFoldedUnit<Fold>(h, l - 1, hl, last);
  if (first == NotFound) return NotFound;
  const TFactorisationRec f = made ? *made : Factorise(n, l);
  const size_t ms = f.Split;

  size_t mem = 0, k;
  size_t pos = first - (l - 1);
  while (hl - pos >= l) {
    if (Unit<Fold>(h[pos + l - 1]) != last) {
      // The scan only moves forward, so it reads each unit once.
      const size_t next = FindFoldedUnit<Fold>(h, pos + l, hl, last);
      if (next == NotFound) return NotFound;
      pos = next - (l - 1);
      mem = 0;
      continue;
    }
    for (k = std::max(ms + 1, mem); k < l && n[k] == Unit<Fold>(h[pos + k]); ++k) {
    }
    if (k < l) {
      pos += k - ms;
      mem = 0;
      continue;
    }
    for (k = ms + 1; k > mem && n[k - 1] == Unit<Fold>(h[pos + k - 1]); --k) {
    }
    if (k <= mem) return pos;
    pos += f.Period;
    mem = f.Memory;
  }
  return NotFound;
}

// The first occurrence of n in h by the scan for its rare pair, each place
// the pair stands verified. Where verifying costs more than a few times
// the bytes passed (a text full of the pair but not the token), the rest
// is left to Two-Way, which keeps the whole search linear.
template <bool Fold>
[[gnu::always_inline]] inline size_t PairFind(const char* h, size_t hl, const char* n, size_t l,
                                              const TRarePairRec& pair, const TFactorisationRec* made) {
  const size_t last = hl - l;
  size_t from = 0, work = 0;
  for (;;) {
    const size_t at = FindPairCandidate(pair, h, from, last);
    if (at == NotFound) return NotFound;
    if (SameBytes<Fold>(h + at, n, l)) return at;
    from = at + 1;
    work += l;
    if (work > 4 * (from + l)) {
      const size_t rest = TwoWayFind<Fold>(h + from, hl - from, n, l, made);
      return rest == NotFound ? NotFound : from + rest;
    }
  }
}

// The first occurrence of the token among the units of h: a unit alone by
// its scan, a token of bytes by its rare pair, else by Two-Way.
size_t FindUnits(const char16_t* h, size_t hl, const char16_t* n, size_t l, const TFactorisationRec* made,
                 const TTokenRec<char16_t>*) {
  return l == 1 ? FindUnit(h, 0, hl, n[0]) : TwoWayFind<false>(h, hl, n, l, made);
}
size_t FindUnits(const char* h, size_t hl, const char* n, size_t l, const TFactorisationRec* made,
                 const TTokenRec<char>* prepared) {
  const bool fold = prepared && prepared->FoldAscii;
  if (l == 1 && !fold) return FindUnit(h, 0, hl, n[0]);
  const TRarePairRec pair = prepared ? prepared->Pair : ChooseRarePair(std::string_view(n, l), false);
  return fold ? PairFind<true>(h, hl, n, l, pair, made) : PairFind<false>(h, hl, n, l, pair, made);
}

// The first occurrence of the token that splits no character of text, as
// LocateToken promises; made, when given, is the token's factorisation,
// and prepared the token made ready.
template <typename TChar>
int64_t FindToken(std::basic_string_view<TChar> token, std::basic_string_view<TChar> text,
                  const TFactorisationRec* made, const TTokenRec<TChar>* prepared) {
  if (token.empty() || text.empty() || token.size() > text.size()) return 0;
  // A token that begins or ends with half of a surrogate pair (a lone
  // surrogate, or a byte that was no valid text) matches only where it
  // splits no character of the text; the search goes on after such a spot.
  for (size_t from = 0;;) {
    const size_t rest = text.size() - from;
    if (rest < token.size()) return 0;
    size_t found = FindUnits(text.data() + from, rest, token.data(), token.size(), made, prepared);
    if (found == NotFound) return 0;
    found += from;
    if (!SplitsCharAt(text, found) && !SplitsCharAt(text, found + token.size())) return static_cast<int64_t>(found + 1);
    from = found + 1;
  }
}

// Whether byte c is in a set's map of U+0000-U+00FF.
inline bool InByteMap(const bool* latin, char c) { return latin[static_cast<unsigned char>(c)]; }

// Index of the first unit of s that is no delimiter; s.size() when there
// is none.
template <typename TChar>
size_t FirstWordStart(std::basic_string_view<TChar> s, const TCharSetRec& delimiters) {
  size_t i = 0, width;
  while (i < s.size() && CharSetHas(delimiters, CharAt(s, i, width))) i += width;
  return i;
}

// Index of the first delimiter of s at or after start; s.size() when there
// is none.
template <typename TChar>
size_t FirstWordEnd(std::basic_string_view<TChar> s, size_t start, const TCharSetRec& delimiters) {
  size_t end = start, width;
  while (end < s.size() && !CharSetHas(delimiters, CharAt(s, end, width))) end += width;
  return end;
}

}  // namespace

TCharSetRec BuildDelimiterSet(std::u16string_view delimiters) {
  TCharSetRec set;
  uint8_t few[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  int count = 0;  // ASCII members, each counted once
  size_t width;
  for (size_t i = 0; i < delimiters.size(); i += width) {
    const char32_t c = CharAt(delimiters, i, width);
    if (c < 0x80 && !set.Latin[c]) {
      if (count < 4) few[count] = static_cast<uint8_t>(c);
      ++count;
    }
    if (c <= 0xFF)
      set.Latin[c] = true;
    else
      set.Others.push_back(c);
  }
  std::sort(set.Others.begin(), set.Others.end());
  set.Others.erase(std::unique(set.Others.begin(), set.Others.end()), set.Others.end());
  set.FewAscii = count <= 4;
  for (int k = 0; k < 4; ++k) std::memset(set.Few[k], few[count > 0 && k >= count ? 0 : k], 16);
  return set;
}

bool CharSetHasOther(const TCharSetRec& set, char32_t c) {
  return std::binary_search(set.Others.begin(), set.Others.end(), c);
}

template <typename TChar>
int64_t LocateToken(std::basic_string_view<TChar> token, std::basic_string_view<TChar> text) {
  return FindToken(token, text, static_cast<const TFactorisationRec*>(nullptr),
                   static_cast<const TTokenRec<TChar>*>(nullptr));
}

template <typename TChar>
TTokenRec<TChar> PrepareToken(std::basic_string_view<TChar> token, bool foldAscii) {
  TTokenRec<TChar> prepared;
  prepared.Units = token;
  if constexpr (std::is_same_v<TChar, char>) {
    prepared.FoldAscii = foldAscii;
    if (!token.empty()) prepared.Pair = ChooseRarePair(token, foldAscii);
  }
  if (token.size() > 1) {
    const TFactorisationRec f = Factorise(token.data(), token.size());
    prepared.Split = f.Split;
    prepared.Period = f.Period;
    prepared.Memory = f.Memory;
  }
  return prepared;
}

size_t FindBytes(const TTokenRec<char>& token, std::string_view bytes) {
  const std::string_view n = token.Units;
  if (n.empty() || n.size() > bytes.size()) return NotFound;
  if (n.size() == 1 && !token.FoldAscii) return FindUnit(bytes.data(), 0, bytes.size(), n[0]);
  const TFactorisationRec f = {token.Split, token.Period, token.Memory};
  return token.FoldAscii ? PairFind<true>(bytes.data(), bytes.size(), n.data(), n.size(), token.Pair, &f)
                         : PairFind<false>(bytes.data(), bytes.size(), n.data(), n.size(), token.Pair, &f);
}

template <typename TChar>
int64_t LocateToken(const TTokenRec<TChar>& token, std::basic_string_view<TChar> text) {
  const TFactorisationRec f = {token.Split, token.Period, token.Memory};
  return FindToken(std::basic_string_view<TChar>(token.Units), text, &f, &token);
}

template <typename TChar>
std::vector<uint32_t> PrepareEveryOccurrence(std::basic_string_view<TChar> token) {
  std::vector<uint32_t> fail(token.size(), 0);
  uint32_t k = 0;
  for (size_t i = 1; i < token.size(); ++i) {
    while (k > 0 && token[i] != token[k]) k = fail[k - 1];
    if (token[i] == token[k]) ++k;
    fail[i] = k;
  }
  return fail;
}

template <typename TChar>
size_t NextOccurrence(std::basic_string_view<TChar> token, const std::vector<uint32_t>& fail,
                      std::basic_string_view<TChar> text, size_t& at, size_t& matched, bool foldAscii) {
  if (token.empty()) return NotFound;
  while (at < text.size()) {
    const TChar c = foldAscii ? Unit<true>(text[at++]) : text[at++];
    while (matched > 0 && c != token[matched]) matched = fail[matched - 1];
    if (c == token[matched]) ++matched;
    if (matched == token.size()) {
      matched = fail[matched - 1];
      const size_t start = at - token.size();
      if (!SplitsCharAt(text, start) && !SplitsCharAt(text, at)) return start;
    }
  }
  return NotFound;
}

template <typename TChar>
bool StandsAsWord(std::basic_string_view<TChar> text, size_t start, size_t end, const TCharSetRec& delimiters) {
  size_t width;
  return (start == 0 || CharSetHas(delimiters, CharBefore(text, start, width))) &&
         (end >= text.size() || CharSetHas(delimiters, CharAt(text, end, width)));
}

std::u16string CopyText(std::u16string_view s, int64_t index, int64_t count) {
  const int64_t length = static_cast<int64_t>(s.size());
  if (index < 1) index = 1;
  if (count > length || index - 1 + count > length) count = length - (index - 1);
  if (count <= 0) return {};
  return std::u16string(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

int64_t FirstWordPosition(std::u16string_view s, const TCharSetRec& delimiters) {
  const size_t start = FirstWordStart(s, delimiters);
  return start < s.size() ? static_cast<int64_t>(start + 1) : 0;
}

std::u16string ExtractFirstWord(std::u16string_view s, const TCharSetRec& delimiters) {
  const size_t start = FirstWordStart(s, delimiters);
  return std::u16string(s.substr(start, FirstWordEnd(s, start, delimiters) - start));
}

template <typename TChar>
std::basic_string_view<TChar> TextBeforeSpan(std::basic_string_view<TChar> text, int64_t tokenPos,
                                             int32_t requestedLength, const TCharSetRec& delimiters) {
  const int64_t n = requestedLength;
  if (n >= 1 && tokenPos - n >= 1) {
    if (static_cast<int64_t>(text.size()) < tokenPos - n) return {};
    // A cut inside a surrogate pair takes the whole character.
    size_t start = static_cast<size_t>(tokenPos - n - 1);
    if (SplitsCharAt(text, start)) --start;
    return text.substr(start, static_cast<size_t>(tokenPos - 1) - start);
  }
  // Whole word: walk back from the token over touching delimiters, then
  // over the word before them.
  size_t end = std::min(text.size(), static_cast<size_t>(tokenPos > 1 ? tokenPos - 1 : 0));
  if constexpr (std::is_same_v<TChar, char>) {
    size_t start, stop;
    if (FewWordBefore(delimiters, text, end, start, stop)) return text.substr(start, stop - start);
    // A byte a character: the set's map alone, in a tight loop.
    const bool* latin = delimiters.Latin;
    while (end > 0 && InByteMap(latin, text[end - 1])) --end;
    start = end;
    while (start > 0 && !InByteMap(latin, text[start - 1])) --start;
    return text.substr(start, end - start);
  }
  size_t width;
  while (end > 0 && CharSetHas(delimiters, CharBefore(text, end, width))) end -= width;
  size_t start = end;
  while (start > 0 && !CharSetHas(delimiters, CharBefore(text, start, width))) start -= width;
  return text.substr(start, end - start);
}

template <typename TChar>
std::basic_string_view<TChar> TextAfterSpan(std::basic_string_view<TChar> text, int64_t afterPos,
                                            int32_t requestedLength, const TCharSetRec& delimiters) {
  const int64_t length = static_cast<int64_t>(text.size());
  if (requestedLength >= 1) {
    if (length < afterPos) return {};
    // A cut inside a surrogate pair takes the whole character.
    const size_t start = afterPos > 1 ? static_cast<size_t>(afterPos - 1) : 0;
    size_t end = start + std::min(text.size() - start, static_cast<size_t>(requestedLength));
    if (SplitsCharAt(text, end)) ++end;
    return text.substr(start, end - start);
  }
  if (text.empty() || length < afterPos) return {};
  if constexpr (std::is_same_v<TChar, char>) {
    size_t start = afterPos > 1 ? static_cast<size_t>(afterPos - 1) : 0, stop;
    if (FewWordAfter(delimiters, text, start, start, stop)) return text.substr(start, stop - start);
    const bool* latin = delimiters.Latin;
    while (start < text.size() && InByteMap(latin, text[start])) ++start;
    size_t end = start;
    while (end < text.size() && !InByteMap(latin, text[end])) ++end;
    return text.substr(start, end - start);
  }
  const std::basic_string_view<TChar> tail = text.substr(afterPos > 1 ? static_cast<size_t>(afterPos - 1) : 0);
  const size_t start = FirstWordStart(tail, delimiters);
  return tail.substr(start, FirstWordEnd(tail, start, delimiters) - start);
}

template <typename TChar>
std::basic_string_view<TChar> WordBefore(std::basic_string_view<TChar> text, size_t at, const TCharSetRec& delimiters,
                                         TWordScanRec& scan) {
  if (scan.At == 0 && at > 0) {
    // The first place: a scan back from it, as for one occurrence, tells
    // what a scan from the start would.
    const std::basic_string_view<TChar> word = TextBeforeSpan(text, static_cast<int64_t>(at) + 1, 0, delimiters);
    scan.WordStart = word.empty() ? 0 : static_cast<size_t>(word.data() - text.data());
    scan.WordEnd = scan.WordStart + word.size();
    scan.InWord = !word.empty() && scan.WordEnd == at;
    scan.At = at;
    return word;
  }
  size_t width;
  for (; scan.At < at && scan.At < text.size(); scan.At += width) {
    if (CharSetHas(delimiters, CharAt(text, scan.At, width))) {
      scan.InWord = false;
      continue;
    }
    if (!scan.InWord) scan.WordStart = scan.At;
    scan.InWord = true;
    scan.WordEnd = scan.At + width;
  }
  return text.substr(scan.WordStart, scan.WordEnd - scan.WordStart);
}

template <typename TChar>
std::basic_string_view<TChar> WordAfter(std::basic_string_view<TChar> text, size_t from, const TCharSetRec& delimiters,
                                        TWordScanRec& scan) {
  if (from >= text.size()) return {};
  // Delimiters from AfterFrom to AfterStart, then the word to AfterEnd: a
  // place among them finds its word there.
  if (scan.AfterKnown && from >= scan.AfterFrom && from < scan.AfterEnd) {
    const size_t start = std::max(from, scan.AfterStart);
    return text.substr(start, scan.AfterEnd - start);
  }
  // A word runs to the next delimiter or the end; none after from leaves
  // only delimiters to the end.
  const std::basic_string_view<TChar> word = TextAfterSpan(text, static_cast<int64_t>(from) + 1, 0, delimiters);
  scan.AfterKnown = true;
  scan.AfterFrom = from;
  scan.AfterStart = word.empty() ? text.size() : static_cast<size_t>(word.data() - text.data());
  scan.AfterEnd = scan.AfterStart + word.size();
  return word;
}

template <typename TChar>
std::basic_string<TChar> TextBeforeToken(std::basic_string_view<TChar> text, int64_t tokenPos, int32_t requestedLength,
                                         const TCharSetRec& delimiters) {
  return std::basic_string<TChar>(TextBeforeSpan(text, tokenPos, requestedLength, delimiters));
}

template <typename TChar>
std::basic_string<TChar> TextAfterToken(std::basic_string_view<TChar> text, int64_t afterPos, int32_t requestedLength,
                                        const TCharSetRec& delimiters) {
  return std::basic_string<TChar>(TextAfterSpan(text, afterPos, requestedLength, delimiters));
}

// The search and the context for both unit types.
template std::vector<uint32_t> PrepareEveryOccurrence(std::u16string_view);
template std::vector<uint32_t> PrepareEveryOccurrence(std::string_view);
template size_t NextOccurrence(std::u16string_view, const std::vector<uint32_t>&, std::u16string_view, size_t&, size_t&,
                               bool);
template size_t NextOccurrence(std::string_view, const std::vector<uint32_t>&, std::string_view, size_t&, size_t&,
                               bool);
template bool StandsAsWord(std::u16string_view, size_t, size_t, const TCharSetRec&);
template bool StandsAsWord(std::string_view, size_t, size_t, const TCharSetRec&);
template int64_t LocateToken(std::u16string_view, std::u16string_view);
template int64_t LocateToken(std::string_view, std::string_view);
template TTokenRec<char16_t> PrepareToken(std::u16string_view, bool);
template TTokenRec<char> PrepareToken(std::string_view, bool);
template int64_t LocateToken(const TTokenRec<char16_t>&, std::u16string_view);
template int64_t LocateToken(const TTokenRec<char>&, std::string_view);
template std::u16string TextBeforeToken(std::u16string_view, int64_t, int32_t, const TCharSetRec&);
template std::string TextBeforeToken(std::string_view, int64_t, int32_t, const TCharSetRec&);
template std::u16string TextAfterToken(std::u16string_view, int64_t, int32_t, const TCharSetRec&);
template std::string TextAfterToken(std::string_view, int64_t, int32_t, const TCharSetRec&);
template std::string_view WordBefore(std::string_view, size_t, const TCharSetRec&, TWordScanRec&);
template std::u16string_view WordBefore(std::u16string_view, size_t, const TCharSetRec&, TWordScanRec&);
template std::string_view WordAfter(std::string_view, size_t, const TCharSetRec&, TWordScanRec&);
template std::u16string_view WordAfter(std::u16string_view, size_t, const TCharSetRec&, TWordScanRec&);
template std::string_view TextBeforeSpan(std::string_view, int64_t, int32_t, const TCharSetRec&);
template std::string_view TextAfterSpan(std::string_view, int64_t, int32_t, const TCharSetRec&);
template std::u16string_view TextBeforeSpan(std::u16string_view, int64_t, int32_t, const TCharSetRec&);
template std::u16string_view TextAfterSpan(std::u16string_view, int64_t, int32_t, const TCharSetRec&);
