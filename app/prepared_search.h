// A search made ready once for any number of texts, and the search of one
// text: the single call searches its text argument this way, --lines each
// line. It finds and cuts out; it writes nothing.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/found.h"
#include "app/switches.h"
#include "app/token_search.h"
#include "app/units.h"

// The token in its forms, the rules and the pages the texts come in. The
// UTF-16 form of an ASCII token is made on first use, since a search of
// ASCII texts never needs it. It holds views of its own texts, so it is
// never copied.
struct TPreparedSearchRec {
  TPreparedSearchRec() = default;
  TPreparedSearchRec(const TPreparedSearchRec&) = delete;
  TPreparedSearchRec& operator=(const TPreparedSearchRec&) = delete;

  // The length and the delimiters: each character of the delimiter text is
  // one delimiter, read like the text (a double-byte character is one, and
  // its trail byte is none); none given is " ,;".
  int32_t Length = 0;
  TCharSetRec Delimiters;
  bool IgnoreCase = false;
  TUnits Units = TUnits::Utf16;
  bool All = false;            // every occurrence, not the first alone
  int64_t Occurrence = 0;      // the Nth only (from the end below 0), or 0
  bool Word = false;           // only occurrences that stand as words
  bool UpTo = false;           // fewer units than the length before: all of them
  bool WideTokenMade = false;  // Token and WideToken hold it
  std::u16string Token;        // as typed
  std::u16string FoldedToken;  // with IgnoreCase: the token folded
  TTokenRec<char16_t> WideToken;
  std::string AsciiTokenText;  // the ASCII token, where it is kept
  TTokenRec<char> AsciiToken;  // empty where the token is not ASCII
  // With Word: the token's failure function, for a search of every
  // occurrence; the same for both forms.
  std::vector<uint32_t> WordFail;
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
  // Room kept from text to text: decoded and folded texts.
  std::u16string Decoded;
  std::u16string WideFolded;  // a folded text, or a block of one
};

// Prepares the search for the token, length and delimiters of args, with
// the case and units of switches, for texts given as bytes in bytesCp
// (decoded, where needed, into units that come from unitsCp), whose
// contexts are written in outputCp. A delimiter that is a lone
// U+DC80-U+DCFF meaning something else in the texts than in the arguments
// is dropped. Takes the token's UTF-16 text from args.
void PrepareSearch(TPreparedSearchRec& search, const TSwitchesRec& switches, TSearchArgsRec& args, uint32_t bytesCp,
                   uint32_t unitsCp, uint32_t outputCp);

// Where the search of one text goes on from one result to the next.
struct TSearchCursorRec {
  bool Wide = false;                      // the text is searched as UTF-16
  std::string_view Bytes;                 // the text as bytes
  std::u16string_view Units, UnitsHay;    // the same as UTF-16
  bool FoldInBlocks = false;              // UnitsHay is none: Units are folded a block at a time
  size_t FoldedStart = 0, FoldedEnd = 0;  // with FoldInBlocks: the block the search's room holds
  TWordScanRec Words;                     // with --all: the words around the occurrences so far
  const char* Readable = nullptr;         // the bytes may be read up to here
  size_t From = 0;                        // where the next occurrence may start
  size_t Matched = 0;                     // with Word: units of the token matched before From
  size_t CountedTo = 0;                   // the text up to here takes...
  int64_t Counted = 0;                    // ...this many of the search's units
  int64_t Occurrence = 0;                 // the occurrences found so far
  bool Done = false;                      // no more results
};

// Searches text, given as its bytes in search.BytesCp, and returns its
// first result: the first occurrence, or the one --occurrence asks for,
// or a miss. knownPosition, when above 0, is where the token was already
// found among the bytes; readableEnd, when given, is how far the bytes
// from text on may be read (its end or past it: a line among the bytes
// held), so that a writer may copy a short context whole. cursor then
// knows where the text's next result is; the text must live as long as it
// is used.
TFoundRec SearchText(TPreparedSearchRec& search, TSearchCursorRec& cursor, std::string_view text,
                     int64_t knownPosition = 0, const char* readableEnd = nullptr);

// Whether the first occurrence of an ASCII line, found among its bytes, may
// be its whole result (see OnlyResultAt), which FoundInAsciiText gives: a
// token searched as bytes with its case, and neither words nor the Nth
// occurrence asked for.
inline bool TakesFoundOccurrences(const TPreparedSearchRec& search) {
  return search.AsciiTextAsBytes && !search.IgnoreCase && search.Occurrence == 0 && !search.Word;
}

// Whether the occurrence at start (0-based) of an ASCII text is its only
// result: the first is all the search asks for, or with --all, the rest of
// the text lacks the token's rarest byte. Most lines hold one occurrence,
// and this look costs far less than a search.
inline bool OnlyResultAt(const TPreparedSearchRec& search, std::string_view text, size_t start) {
  if (!search.All) return true;
  const TRarePairRec& pair = search.AsciiToken.Pair;
  const size_t first = start + search.AsciiToken.Units.size() + pair.Index1;
  return pair.Fold1 == 0 &&
         (first >= text.size() || !std::memchr(text.data() + first, pair.Byte1, text.size() - first));
}

// The result for the occurrence at start (0-based) of an ASCII text, as
// the first and only one: the words around it, or the length's spans.
// readableEnd is as for SearchText. Inline, and its words settled inline by
// sixteen bytes each: lines that hold the token come by the million with
// --lines.
inline TFoundRec FoundInAsciiText(const TPreparedSearchRec& search, std::string_view text, size_t start,
                                  const char* readableEnd) {
  const size_t size = search.AsciiToken.Units.size();
  TFoundRec found;
  found.Occurrence = 1;
  found.Position = static_cast<int64_t>(start) + 1;
  found.After = found.Position + static_cast<int64_t>(size);
  size_t from, to;
  found.BeforeBytes = search.Length < 1 && FewWordBefore(search.Delimiters, text, start, from, to)
                          ? std::string_view(text.data() + from, to - from)
                          : TextBeforeSpan(text, found.Position, search.Length, search.Delimiters);
  found.AfterBytes = search.Length < 1 && FewWordAfter(search.Delimiters, text, start + size, from, to)
                         ? std::string_view(text.data() + from, to - from)
                         : TextAfterSpan(text, found.After, search.Length, search.Delimiters);
  if (search.UpTo && search.Length >= 1 && found.Position - 1 < search.Length)
    found.BeforeBytes = text.substr(0, start);
  found.BytesEnd = readableEnd;
  return found;
}

// The same for a text given as UTF-16 units from search.UnitsCp.
TFoundRec SearchText(TPreparedSearchRec& search, TSearchCursorRec& cursor, std::u16string_view text);

// With --all, the text's next result after the one before: true, with
// found, while there is one. Inline: every line asks.
bool FindNextResult(TPreparedSearchRec& search, TSearchCursorRec& cursor, TFoundRec& found);
inline bool NextResult(TPreparedSearchRec& search, TSearchCursorRec& cursor, TFoundRec& found) {
  return !cursor.Done && FindNextResult(search, cursor, found);
}

// True when many lines of bytes can be searched as one: an ASCII token
// without CR or LF, searched as bytes, never spans a line end, and a line
// without it has no occurrence of any kind. Where case is ignored, only
// the Kelvin sign and the long s fold into ASCII (into "k" and "s"): a
// token without those letters is not in a line whose bytes lack it.
inline bool SearchesLinesInBulk(const TPreparedSearchRec& search) {
  const std::string_view token = search.AsciiToken.Units;
  return search.TokenAsciiInBytes && !token.empty() &&
         token.find_first_of(search.IgnoreCase ? "\r\nks" : "\r\n") == std::string_view::npos;
}
