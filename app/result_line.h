// One search of one text and its result line: shared by the single call
// and the stream mode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/token_search.h"
#include "core/console.h"

// Where the token stands: 1-based positions, 0 for both when it is absent.
struct TFoundRec {
  int64_t Position = 0;  // of the token
  int64_t After = 0;     // of the unit after it
};

// The length and the delimiters of a search, read from the third and
// fourth arguments: a length that does not convert is 0, and an empty or
// absent delimiter text is " ,;". Each character of the delimiter text is
// one delimiter, read like the text: a double-byte character is one, and
// its trail byte is none. textCp is the page the searched texts are
// decoded from: where it and the arguments' page hold different kinds of
// lone U+DC80-U+DCFF units (byte escapes and unpaired surrogates), such a
// delimiter stands for nothing the text holds and is dropped.
struct TSearchRulesRec {
  int32_t Length = 0;
  TCharSetRec Delimiters;
};
TSearchRulesRec ReadSearchRules(uint32_t textCp);

// True when a token from the arguments can be found at all in texts
// decoded from textCp: not when it holds a lone U+DC80-U+DCFF unit that
// means a byte on one side and an unpaired surrogate on the other.
bool TokenCanMatchText(std::u16string_view token, uint32_t textCp);

// Locates token in text and, when it is there, cuts the context out of the
// same text at the token's own positions. TChar is char16_t, or char for
// ASCII text, where a byte is a unit.
template <typename TChar>
TFoundRec SearchAndExtract(std::basic_string_view<TChar> text, std::basic_string_view<TChar> token,
                           const TSearchRulesRec& rules, std::basic_string<TChar>& before,
                           std::basic_string<TChar>& after);

// Writes the result line through channel: TRUE or FALSE, the positions,
// the length, the texts before and after the token, each followed by "|",
// then the line end. The texts are ASCII bytes (for a channel whose page
// keeps ASCII), or UTF-16 decoded from bytes in sourceCp, both converted
// before anything of the line is written.
void WriteResultLine(TTextChannelRec& channel, const TFoundRec& found, int32_t length, std::string_view before,
                     std::string_view after);
void WriteResultLine(TTextChannelRec& channel, const TFoundRec& found, int32_t length, std::u16string_view before,
                     std::u16string_view after, uint32_t sourceCp);
