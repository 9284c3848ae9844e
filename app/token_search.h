// Finding the token in the search text and cutting out the text around it.
// Pure functions: no output, no global state. Texts are UTF-16; positions
// and lengths count UTF-16 code units from 1. Each operation also comes for
// narrow text that is all ASCII, where a byte is a unit and the results are
// the same, so that plain text needs no conversion at all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A set of delimiter characters (Unicode code points).
struct TCharSet {
  uint64_t Latin[4] = {0, 0, 0, 0};  // bit map for U+0000-U+00FF
  std::vector<char32_t> Others;      // sorted, above U+00FF
};

// Every character of the delimiter text; duplicates are harmless, an empty
// text gives the empty set. A surrogate pair counts as one character.
TCharSet BuildDelimiterSet(std::u16string_view delimiters);

bool CharSetHas(const TCharSet& set, char32_t c);

// 1-based position of the first exact, case-sensitive occurrence of token
// in text, or 0. An empty token, an empty text or a token longer than the
// text gives 0. Linear time in the worst case.
int32_t LocateToken(std::u16string_view token, std::u16string_view text);
int32_t LocateToken(std::string_view token, std::string_view text);

// count units of s from the 1-based index; an index below 1 counts as 1 and
// the count is cut at the end of s.
std::u16string CopyText(std::u16string_view s, int64_t index, int64_t count);
std::string CopyText(std::string_view s, int64_t index, int64_t count);

// 1-based index of the first unit of the first word of s (a word is a
// maximal run of non-delimiters), or 0 when s holds only delimiters.
int32_t FirstWordPosition(std::u16string_view s, const TCharSet& delimiters);
int32_t FirstWordPosition(std::string_view s, const TCharSet& delimiters);

// The first word of s (from FirstWordPosition on), possibly empty.
std::u16string ExtractFirstWord(std::u16string_view s, const TCharSet& delimiters);
std::string ExtractFirstWord(std::string_view s, const TCharSet& delimiters);

// The requestedLength units right before the token at tokenPos when that
// many stand there; otherwise (also for a length of 0 or below) the last
// word before the token, skipping delimiters that touch it.
std::u16string TextBeforeToken(std::u16string_view text, int32_t tokenPos,
                               int32_t requestedLength, const TCharSet& delimiters);
std::string TextBeforeToken(std::string_view text, int32_t tokenPos,
                            int32_t requestedLength, const TCharSet& delimiters);

// Up to requestedLength units from afterPos on (fewer at the end of the
// text); for a length of 0 or below, the first word after the token,
// skipping delimiters that touch it.
std::u16string TextAfterToken(std::u16string_view text, int32_t afterPos,
                              int32_t requestedLength, const TCharSet& delimiters);
std::string TextAfterToken(std::string_view text, int32_t afterPos,
                           int32_t requestedLength, const TCharSet& delimiters);
