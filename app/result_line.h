// One search of one text and its result line: the single call searches its
// text argument this way, the stream mode each line.
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
// its trail byte is none.
struct TSearchRulesRec {
  int32_t Length = 0;
  TCharSetRec Delimiters;
};

// A search made ready once for any number of texts: the token (argument 2)
// in both forms, the rules, and the pages the texts come in. The UTF-16
// form is made on first use, since a search of ASCII texts for an ASCII
// token never needs it. It holds views of its own token, so it is never
// copied.
struct TPreparedSearchRec {
  TPreparedSearchRec() = default;
  TPreparedSearchRec(const TPreparedSearchRec&) = delete;
  TPreparedSearchRec& operator=(const TPreparedSearchRec&) = delete;

  TSearchRulesRec Rules;
  bool WideTokenMade = false;  // Token and WideToken hold it
  std::u16string Token;        // as typed
  TTokenRec<char16_t> WideToken;
  TTokenRec<char> AsciiToken;
  // False when the token holds a lone U+DC80-U+DCFF that means a byte in
  // the arguments and an unpaired surrogate in the texts, or the other way
  // round: it can then be found nowhere.
  bool TokenCanMatch = true;
  uint32_t BytesCp = 0;  // the page of the texts given as bytes
  uint32_t UnitsCp = 0;  // the page their UTF-16 units come from
  // Every decoder of BytesCp keeps ASCII as it is, so an ASCII token that
  // is not among a text's bytes is not in its text either.
  bool TokenAsciiInBytes = false;
  // The output's page keeps ASCII too: an ASCII text is searched as its
  // own bytes, which give the same positions and context unconverted.
  bool AsciiTextAsBytes = false;
  // The result line of a text without the token, less the line end.
  char MissLine[80] = {};
  size_t MissLineSize = 0;
};

// Prepares the search for texts given as bytes in bytesCp (decoded, where
// needed, into units that come from unitsCp), with results written in
// outputCp. A delimiter that is a lone U+DC80-U+DCFF meaning something else
// in the texts than in the arguments is dropped.
void PrepareSearch(TPreparedSearchRec& search, uint32_t bytesCp, uint32_t unitsCp, uint32_t outputCp);

// Searches text, given as its bytes in search.BytesCp, and writes its
// result line through channel; decoded is room for its UTF-16 form, kept
// from call to call. knownPosition, when above 0, is where the token was
// already found among the bytes. Returns where the token stands.
TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::string_view text, TTextChannelRec& channel,
                               std::u16string& decoded, int64_t knownPosition = 0);

// The same for a text given as UTF-16 units from search.UnitsCp.
TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::u16string_view text, TTextChannelRec& channel);

// Writes search.MissLine and the line end; inline, for the misses come by
// the million in the stream mode.
inline void WriteMissLine(const TPreparedSearchRec& search, TTextChannelRec& channel) {
  WriteAscii(channel, std::string_view(search.MissLine, search.MissLineSize));
  WriteLineEnd(channel);
}
