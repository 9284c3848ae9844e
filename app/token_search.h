// Finding the token in the search text and cutting out the text around it.
// Pure functions: no output, no global state. Positions count units from
// 1, in 64 bits: a line of standard input has no limit but memory. TChar
// is char16_t for UTF-16 text, or char for narrow text that is all ASCII,
// where a byte is a unit and the results are the same, so that plain text
// needs no conversion at all.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/rare_pair.h"

// A set of delimiter characters (Unicode code points).
struct TCharSetRec {
  // U+0000-U+00FF, one byte each: asked for every byte the word scans pass.
  bool Latin[256] = {};
  std::vector<char32_t> Others;  // sorted, above U+00FF
  // Where the set holds at most four ASCII characters (" ,;" by default),
  // those bytes, each sixteen times over, the first repeated or 0xFF (in
  // no ASCII text) for the rest: a word scan of ASCII text compares
  // sixteen bytes with each at once, with no branch for each byte to
  // mispredict at a word's end.
  bool FewAscii = false;
  alignas(16) uint8_t Few[4][16] = {};
};

// Every character of the delimiter text; duplicates are harmless, an empty
// text gives the empty set. A surrogate pair counts as one character.
TCharSetRec BuildDelimiterSet(std::u16string_view delimiters);

// True when c is one of the set's characters. Asked for every character
// the word scans pass, so the common case is inline.
bool CharSetHasOther(const TCharSetRec& set, char32_t c);
inline bool CharSetHas(const TCharSetRec& set, char32_t c) {
  if (c <= 0xFF) return set.Latin[c];
  return CharSetHasOther(set, c);
}

// 1-based position of the first exact, case-sensitive occurrence of token
// in text, or 0. An occurrence that would begin or end inside a surrogate
// pair of the text does not count. An empty token, an empty text or a
// token longer than the text gives 0. Linear time in the worst case.
template <typename TChar>
int64_t LocateToken(std::basic_string_view<TChar> token, std::basic_string_view<TChar> text);

// A token made ready for many searches: its critical factorisation is
// worked out once, and for bytes the pair of its rarest bytes.
template <typename TChar>
struct TTokenRec {
  std::basic_string_view<TChar> Units;  // the token; the caller keeps it alive
  size_t Split = 0, Period = 1, Memory = 0;
  TRarePairRec Pair;
  bool FoldAscii = false;  // a token of bytes in lower case; ASCII letters match either case
};

// Where foldAscii (bytes only), token is in lower case and a text's ASCII
// letters match it in either case; other bytes match only themselves.
template <typename TChar>
TTokenRec<TChar> PrepareToken(std::basic_string_view<TChar> token, bool foldAscii = false);

// The 0-based start of the first occurrence of a prepared token of bytes
// in bytes, or size_t(-1): LocateToken for bytes where every byte is a
// character, without its checks, for a search of many lines at once.
size_t FindBytes(const TTokenRec<char>& token, std::string_view bytes);

// Whether the prepared token of bytes stands at at (which holds at least
// its length): a candidate of its pair verified.
inline bool TokenBytesAt(const TTokenRec<char>& token, const char* at) {
  const std::string_view n = token.Units;
  return token.FoldAscii ? SameBytes<true>(at, n.data(), n.size()) : SameBytes<false>(at, n.data(), n.size());
}

// LocateToken for a prepared token: the same answer (with FoldAscii, for
// the text with its ASCII letters in lower case).
template <typename TChar>
int64_t LocateToken(const TTokenRec<TChar>& token, std::basic_string_view<TChar> text);

// Every occurrence of a token, overlapping ones included, in linear time
// whatever the token: its failure function (Knuth-Morris-Pratt), the
// longest border of each of its prefixes, made once. It depends only on
// which units are equal, so an ASCII token's serves its UTF-16 form too.
template <typename TChar>
std::vector<uint32_t> PrepareEveryOccurrence(std::basic_string_view<TChar> token);

// The 0-based start of the next occurrence of token (with fail from
// PrepareEveryOccurrence) in text that splits no character, scanning from
// at with matched units of the token already matched before it; at and
// matched move on past it, so that the next call finds the next one,
// overlapping or not. NotFound (size_t(-1)) at the end of the text. An
// empty token is found nowhere. Where foldAscii, the token is in lower
// case and the text's ASCII letters match either case.
template <typename TChar>
size_t NextOccurrence(std::basic_string_view<TChar> token, const std::vector<uint32_t>& fail,
                      std::basic_string_view<TChar> text, size_t& at, size_t& matched, bool foldAscii = false);

// True when text[start, end) stands as a word: the start of the text or a
// delimiter right before it, and a delimiter or the end right after it.
template <typename TChar>
bool StandsAsWord(std::basic_string_view<TChar> text, size_t start, size_t end, const TCharSetRec& delimiters);

// count units of s from the 1-based index; an index below 1 counts as 1 and
// the count is cut at the end of s.
std::u16string CopyText(std::u16string_view s, int64_t index, int64_t count);

// 1-based index of the first unit of the first word of s (a word is a
// maximal run of non-delimiters), or 0 when s holds only delimiters.
int64_t FirstWordPosition(std::u16string_view s, const TCharSetRec& delimiters);

// The first word of s (from FirstWordPosition on), possibly empty.
std::u16string ExtractFirstWord(std::u16string_view s, const TCharSetRec& delimiters);

// The requestedLength units right before the token at tokenPos when that
// many stand there (one more where the cut would split a surrogate pair);
// otherwise (also for a length of 0 or below) the last word before the
// token, skipping delimiters that touch it.
template <typename TChar>
std::basic_string<TChar> TextBeforeToken(std::basic_string_view<TChar> text, int64_t tokenPos, int32_t requestedLength,
                                         const TCharSetRec& delimiters);

// Up to requestedLength units from afterPos on (fewer at the end of the
// text, one more where the cut would split a surrogate pair); for a length
// of 0 or below, the first word after the token, skipping delimiters that
// touch it.
template <typename TChar>
std::basic_string<TChar> TextAfterToken(std::basic_string_view<TChar> text, int64_t afterPos, int32_t requestedLength,
                                        const TCharSetRec& delimiters);

// The words before and after places one after the other in one text (the
// occurrences of --all): what TextBeforeSpan and TextAfterSpan give for a
// length of 0 or below, each unit of the text looked at about once however
// many places are asked, where a scan back from each place would look at
// a long word again for every occurrence inside it.
struct TWordScanRec {
  size_t At = 0;                                       // the units before this are known...
  size_t WordStart = 0, WordEnd = 0;                   // ...and the last word among them
  bool InWord = false;                                 // At is inside that word
  bool AfterKnown = false;                             // the word after AfterFrom is known:
  size_t AfterFrom = 0, AfterStart = 0, AfterEnd = 0;  // delimiters, then the word
};

// The word before index at (no earlier than the last at asked).
template <typename TChar>
std::basic_string_view<TChar> WordBefore(std::basic_string_view<TChar> text, size_t at, const TCharSetRec& delimiters,
                                         TWordScanRec& scan);

// The word after index from (no earlier than the last from asked).
template <typename TChar>
std::basic_string_view<TChar> WordAfter(std::basic_string_view<TChar> text, size_t from, const TCharSetRec& delimiters,
                                        TWordScanRec& scan);

// The delimiters among the sixteen bytes at p, one bit each: a set of at
// most four ASCII characters (FewAscii).
inline unsigned FewDelimiterBits(const TCharSetRec& set, const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const auto is = [&](int k) {
    return _mm_cmpeq_epi8(v, _mm_load_si128(reinterpret_cast<const __m128i*>(set.Few[k])));
  };
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(is(0), is(1)), _mm_or_si128(is(2), is(3)))));
}

// The last word of ASCII text before end, skipping delimiters that touch
// it, from sixteen bytes that end at end (or start the text): true where
// those settle it, with the word at [start, stop). A text of fewer than
// sixteen bytes, a set that is not FewAscii, or a word or run of
// delimiters that reaches past them is left to TextBeforeSpan. Inline:
// every found line asks.
inline bool FewWordBefore(const TCharSetRec& set, std::string_view text, size_t end, size_t& start, size_t& stop) {
  if (!set.FewAscii || text.size() < 16) return false;
  const size_t base = end >= 16 ? end - 16 : 0;
  const unsigned delimiters = FewDelimiterBits(set, text.data() + base);
  const unsigned word = ~delimiters & ((1u << (end - base)) - 1);
  if (word == 0) {
    if (base > 0) return false;
    start = stop = 0;
    return true;
  }
  const int top = 31 - std::countl_zero(word);
  const unsigned below = delimiters & ((1u << top) - 1);
  if (below == 0 && base > 0) return false;
  start = below == 0 ? 0 : base + 32 - static_cast<size_t>(std::countl_zero(below));
  stop = base + static_cast<size_t>(top) + 1;
  return true;
}

// The first word of ASCII text from from on, skipping delimiters that
// touch it, the same way: from sixteen bytes that start at from (or end
// the text); the rest is left to TextAfterSpan.
inline bool FewWordAfter(const TCharSetRec& set, std::string_view text, size_t from, size_t& start, size_t& stop) {
  if (!set.FewAscii || text.size() < 16) return false;
  const size_t base = std::min(from, text.size() - 16);
  const bool last = base + 16 == text.size();
  const unsigned delimiters = FewDelimiterBits(set, text.data() + base);
  const unsigned word = ~delimiters & 0xFFFF & ~((1u << (from - base)) - 1);
  if (word == 0) {
    if (!last) return false;
    start = stop = text.size();
    return true;
  }
  const int first = std::countr_zero(word);
  const unsigned after = delimiters & ~((1u << first) - 1);
  if (after == 0 && !last) return false;
  start = base + static_cast<size_t>(first);
  stop = after == 0 ? text.size() : base + static_cast<size_t>(std::countr_zero(after));
  return true;
}

// The same two texts as views into text, for callers that copy nothing.
template <typename TChar>
std::basic_string_view<TChar> TextBeforeSpan(std::basic_string_view<TChar> text, int64_t tokenPos,
                                             int32_t requestedLength, const TCharSetRec& delimiters);
template <typename TChar>
std::basic_string_view<TChar> TextAfterSpan(std::basic_string_view<TChar> text, int64_t afterPos,
                                            int32_t requestedLength, const TCharSetRec& delimiters);
