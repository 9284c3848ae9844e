// One search of one text and its result line: the single call searches its
// text argument this way, the stream mode each line.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/switches.h"
#include "app/token_search.h"
#include "app/units.h"
#include "core/console.h"

// Where the token stands: 1-based positions, 0 for both when it is absent.
struct TFoundRec {
  int64_t Position = 0;  // of the token
  int64_t After = 0;     // of the unit after it
};

// The length and the delimiters of a search, read from the arguments after
// the token: a length that does not convert is 0, and an empty or
// absent delimiter text is " ,;". Each character of the delimiter text is
// one delimiter, read like the text: a double-byte character is one, and
// its trail byte is none.
struct TSearchRulesRec {
  int32_t Length = 0;
  TCharSetRec Delimiters;
};

// Where a result's line number goes.
enum class TLinePart : uint8_t {
  None,
  Plain,  // "N|" before the result
  Json,   // the object's first key, "line"
};

// A search made ready once for any number of texts: the token in both
// forms, the rules, the switches, and the pages the texts come in. The
// UTF-16 form is made on first use, since a search of ASCII texts for an
// ASCII token never needs it. It holds views of its own token, so it is
// never copied.
struct TPreparedSearchRec {
  TPreparedSearchRec() = default;
  TPreparedSearchRec(const TPreparedSearchRec&) = delete;
  TPreparedSearchRec& operator=(const TPreparedSearchRec&) = delete;

  TSearchRulesRec Rules;
  TSwitchesRec Switches;
  int32_t TokenIndex = 2;      // the argument that holds the token
  bool WideTokenMade = false;  // Token and WideToken hold it
  std::u16string Token;        // as typed
  std::u16string FoldedToken;  // --ignore-case: the token folded
  TTokenRec<char16_t> WideToken;
  std::string AsciiTokenText;  // --ignore-case: the ASCII token folded
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
  TLinePart LinePart = TLinePart::None;
  char LineDigits[24];  // the number of the line being searched, where NumberedLines
  size_t LineDigitsSize = 0;
  bool NumberedLines = false;  // a result holds its line's number
  // The result of a text without the token, after its line part and less
  // the line end.
  char MissLine[128];  // written by PrepareSearch
  size_t MissLineSize = 0;
  // Room kept from text to text: folded texts, and contexts ready to write.
  std::string Folded;
  std::u16string WideFolded;
  std::string BeforeOut, AfterOut;
};

// Prepares the search given the switches, for texts given as bytes in
// bytesCp (decoded, where needed, into units that come from unitsCp), with
// results written to channel, whose line ends it sets. The token is the
// first data argument after the switches in the stream mode, the second in
// a single call; the length and the delimiters follow it. A delimiter that
// is a lone U+DC80-U+DCFF meaning something else in the texts than in the
// arguments is dropped.
void PrepareSearch(TPreparedSearchRec& search, const TSwitchesRec& switches, uint32_t bytesCp, uint32_t unitsCp,
                   TTextChannelRec& channel);

// Searches text, given as its bytes in search.BytesCp, and writes its
// result through channel; decoded is room for its UTF-16 form, kept
// from call to call. knownPosition, when above 0, is where the token was
// already found among the bytes. Returns where the token stands, counted
// in the search's units.
TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::string_view text, TTextChannelRec& channel,
                               std::u16string& decoded, int64_t knownPosition = 0);

// The same for a text given as UTF-16 units from search.UnitsCp.
TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::u16string_view text, TTextChannelRec& channel);

// Moves on to the next line: counts up its number where results hold it.
inline void NextLine(TPreparedSearchRec& search) {
  if (!search.NumberedLines) return;
  // The digits are counted up where they stand: numbers come by the
  // million in the stream mode.
  char* digits = search.LineDigits;
  size_t i = search.LineDigitsSize;
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i > 0) {
    ++digits[i - 1];
    return;
  }
  std::memmove(digits + 1, digits, search.LineDigitsSize++);
  digits[0] = '1';
}

// Writes the result of a text without the token when there is one, its
// line number where the switches want it.
void WriteNumberedMissLine(const TPreparedSearchRec& search, TTextChannelRec& channel);

// The same; inline, for the misses come by the million in the stream mode.
inline void WriteMissLine(const TPreparedSearchRec& search, TTextChannelRec& channel) {
  if (search.Switches.FoundOnly) return;
  if (search.NumberedLines) {
    WriteNumberedMissLine(search, channel);
    return;
  }
  WriteAscii(channel, std::string_view(search.MissLine, search.MissLineSize));
  WriteLineEnd(channel);
}
