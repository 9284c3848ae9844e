#include "app/prepared_search.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "platform/platform.h"
#include "text/ascii.h"
#include "text/case_fold.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace {

// A cursor made anew is copied from this one: cleared in place, the record
// takes a string instruction whose start costs more than a line's search.
constexpr TSearchCursorRec FreshCursor;

// Whether a lone U+DC80-U+DCFF means the same in the arguments (escapes
// from argsCp) and in texts whose units come from unitsCp: a byte escape
// in both, or an unpaired surrogate in both.
bool EscapesMeanTheSame(uint32_t argsCp, uint32_t unitsCp) {
  return (argsCp == CodePageUtf16) == (unitsCp == CodePageUtf16);
}

void MakeWideToken(TPreparedSearchRec& search) {
  if (search.WideTokenMade) return;
  if (search.Token.empty()) {
    // An ASCII token: its units are its bytes.
    const std::string_view ascii = search.AsciiToken.Units;
    search.Token.assign(ascii.begin(), ascii.end());
  }
  if (search.IgnoreCase) {
    search.FoldedToken = search.Token;
    FoldCaseUtf16(search.FoldedToken);
  }
  const std::u16string_view token = search.IgnoreCase ? search.FoldedToken : search.Token;
  search.WideToken = PrepareToken<char16_t>(token);
  if (search.Word && search.WordFail.empty()) search.WordFail = PrepareEveryOccurrence<char16_t>(token);
  search.WideTokenMade = true;
}

// The text as searched: folded into the search's room where case is
// ignored. Folding keeps each character's units, so positions hold for
// the text as given. ASCII bytes are searched as they are: the token
// prepared for them matches both cases.
std::u16string_view Haystack(TPreparedSearchRec& search, std::u16string_view text) {
  if (!search.IgnoreCase) return text;
  search.WideFolded.assign(text);
  FoldCaseUtf16(search.WideFolded);
  return search.WideFolded;
}

constexpr size_t NoOccurrence = static_cast<size_t>(-1);

// The search's pieces for texts of TChar: bytes or UTF-16 units.
template <typename TChar>
struct TUnitsOfRec;
template <>
struct TUnitsOfRec<char> {
  static std::string_view Text(const TSearchCursorRec& c) { return c.Bytes; }
  static std::string_view Hay(const TSearchCursorRec& c) { return c.Bytes; }
  static const TTokenRec<char>& Token(const TPreparedSearchRec& s) { return s.AsciiToken; }
  static size_t TokenSize(const TPreparedSearchRec& s) { return s.AsciiToken.Units.size(); }
};
template <>
struct TUnitsOfRec<char16_t> {
  static std::u16string_view Text(const TSearchCursorRec& c) { return c.Units; }
  static std::u16string_view Hay(const TSearchCursorRec& c) { return c.UnitsHay; }
  static const TTokenRec<char16_t>& Token(const TPreparedSearchRec& s) { return s.WideToken; }
  static size_t TokenSize(const TPreparedSearchRec& s) { return s.Token.size(); }
};

// The 0-based start of the next occurrence from cursor.From on in the
// text folded a block at a time into the search's room: each block with
// the token's length less one after it, so that an occurrence that starts
// in it is found there (the first one in that window is the first from
// any place in the block on), and blocks at least four times the token,
// so that the overlaps add at most a quarter. The cursor knows which block
// the room holds, so that occurrences one after the other fold each block
// once. Folding keeps each character's units, and no block ends inside a
// surrogate pair.
size_t FoldedIndex(TPreparedSearchRec& search, TSearchCursorRec& cursor) {
  const std::u16string_view text = cursor.Units;
  const size_t size = search.FoldedToken.size();
  const size_t block = std::max<size_t>(65536, 4 * size);
  for (size_t from = cursor.From; from < text.size() && text.size() - from >= size;) {
    if (from < cursor.FoldedStart || from >= cursor.FoldedEnd) {
      size_t end = std::min(text.size(), from + block);
      if (SplitsPairAt(text, end)) ++end;
      size_t windowEnd = std::min(text.size(), end + size - 1);
      if (SplitsPairAt(text, windowEnd)) ++windowEnd;
      search.WideFolded.assign(text.substr(from, windowEnd - from));
      FoldCaseUtf16(search.WideFolded);
      cursor.FoldedStart = from;
      cursor.FoldedEnd = end;
    }
    const std::u16string_view window = std::u16string_view(search.WideFolded).substr(from - cursor.FoldedStart);
    const int64_t position = LocateToken(search.WideToken, window);
    if (position > 0) return from + static_cast<size_t>(position - 1);
    from = cursor.FoldedEnd;
  }
  return NoOccurrence;
}

// The 0-based start of the next occurrence that counts, from cursor.From
// on, and the cursor past it; NoOccurrence when there is none. Without
// Word, occurrences do not overlap: the search goes on after each. With
// Word, every occurrence is looked at (linear whatever the token), and
// one that does not stand as a word is passed over.
template <typename TChar>
size_t NextIndex(TPreparedSearchRec& search, TSearchCursorRec& cursor) {
  using U = TUnitsOfRec<TChar>;
  const auto hay = U::Hay(cursor);
  const size_t size = U::TokenSize(search);
  size_t start = NoOccurrence;
  if (cursor.FoldInBlocks) {
    if constexpr (std::is_same_v<TChar, char16_t>) start = FoldedIndex(search, cursor);
  } else if (!search.Word) {
    if (cursor.From <= hay.size()) {
      if constexpr (std::is_same_v<TChar, char>) {
        // Bytes, each a character: the scan alone.
        const size_t at = FindBytes(search.AsciiToken, hay.substr(cursor.From));
        if (at != NoOccurrence) start = cursor.From + at;
      } else {
        const int64_t position = LocateToken(U::Token(search), hay.substr(cursor.From));
        if (position > 0) start = cursor.From + static_cast<size_t>(position - 1);
      }
    }
  } else {
    while ((start = NextOccurrence(U::Token(search).Units, search.WordFail, hay, cursor.From, cursor.Matched,
                                   U::Token(search).FoldAscii)) != NoOccurrence &&
           !StandsAsWord(U::Text(cursor), start, start + size, search.Delimiters)) {
    }
    cursor.Matched = 0;
  }
  if (start == NoOccurrence) return start;
  cursor.From = start + size;
  ++cursor.Occurrence;
  return start;
}

// The result for the occurrence at start (0-based): ASCII bytes, where a
// unit of every kind is a byte, or UTF-16 units, counted as the search
// asks from where the cursor counted to, so that many occurrences of a
// long text cost no more than one count of it.
template <typename TChar>
[[gnu::always_inline]] inline TFoundRec FoundAt(const TPreparedSearchRec& search, TSearchCursorRec& cursor,
                                                std::basic_string_view<TChar> text, size_t start) {
  // Every occurrence of a text: the words come from one scan of it, where
  // more may follow (the words of the first are those of a scan from it).
  const bool scanWords = search.All && search.Length < 1 && !cursor.Done;
  if constexpr (std::is_same_v<TChar, char>) {
    if (!scanWords) {
      TFoundRec found = FoundInAsciiText(search, text, start, cursor.Readable);
      found.Occurrence = cursor.Occurrence;
      return found;
    }
  }
  const size_t size = TUnitsOfRec<TChar>::TokenSize(search);
  TFoundRec found;
  found.Occurrence = cursor.Occurrence;
  found.Position = static_cast<int64_t>(start) + 1;
  found.After = found.Position + static_cast<int64_t>(size);
  if constexpr (std::is_same_v<TChar, char>) {
    found.BeforeBytes = WordBefore(text, start, search.Delimiters, cursor.Words);
    found.AfterBytes = WordAfter(text, start + size, search.Delimiters, cursor.Words);
    found.BytesEnd = cursor.Readable;
  } else {
    const TUnitCountRec count{search.Units, search.BytesCp, search.UnitsCp};
    found.Wide = true;
    if (scanWords) {
      found.BeforeUnits = WordBefore(text, start, search.Delimiters, cursor.Words);
      found.AfterUnits = WordAfter(text, start + size, search.Delimiters, cursor.Words);
    } else {
      found.BeforeUnits = TextBeforeSpanIn(count, text, found.Position, search.Length, search.Delimiters);
      found.AfterUnits = TextAfterSpanIn(count, text, found.After, search.Length, search.Delimiters);
    }
    if (count.Units != TUnits::Utf16) {
      cursor.Counted += CountUnits(count, text.substr(cursor.CountedTo, start - cursor.CountedTo));
      cursor.CountedTo = start;
      found.Position = 1 + cursor.Counted;
      found.After = found.Position + CountUnits(count, text.substr(start, size));
    }
    if (search.UpTo && search.Length >= 1 && found.Position - 1 < search.Length)
      found.BeforeUnits = text.substr(0, start);
  }
  return found;
}

// The text's first result: the occurrence --occurrence asks for (the
// first without it), or a miss. Out of line: inline, its counting cursor
// would be cleared on the way of --all too.
template <typename TChar>
[[gnu::noinline]] TFoundRec FirstResult(TPreparedSearchRec& search, TSearchCursorRec& cursor) {
  int64_t target = search.Occurrence > 0 ? search.Occurrence : 1;
  if (search.Occurrence < 0) {
    // Counted first: the Nth from the end is the (count + 1 + N)th.
    TSearchCursorRec counter = cursor;
    while (NextIndex<TChar>(search, counter) != NoOccurrence) {
    }
    target = counter.Occurrence + 1 + search.Occurrence;
  }
  cursor.Done = true;
  if (target < 1) return TFoundRec();
  size_t start;
  while ((start = NextIndex<TChar>(search, cursor)) != NoOccurrence && cursor.Occurrence < target) {
  }
  if (start == NoOccurrence) return TFoundRec();
  cursor.Done = !search.All || search.Occurrence != 0;
  return FoundAt<TChar>(search, cursor, TUnitsOfRec<TChar>::Text(cursor), start);
}

// A text of bytes searched as its UTF-16 units. Out of line: the search
// of ASCII bytes, line after line, then needs no room for the decoding.
[[gnu::noinline]] TFoundRec SearchDecoded(TPreparedSearchRec& search, TSearchCursorRec& cursor, std::string_view text) {
  search.Decoded = NarrowToWide(text, search.BytesCp);
  return SearchText(search, cursor, std::u16string_view(search.Decoded));
}

}  // namespace

void PrepareSearch(TPreparedSearchRec& search, const TSwitchesRec& switches, TSearchArgsRec& args, uint32_t bytesCp,
                   uint32_t unitsCp, uint32_t outputCp) {
  search.IgnoreCase = switches.IgnoreCase;
  search.Units = switches.Units;
  search.All = switches.All;
  search.Occurrence = switches.Occurrence;
  search.Word = switches.Word;
  search.UpTo = switches.UpTo;
  search.Length = args.Length;
  const bool sameEscapes = EscapesMeanTheSame(args.EscapesCp, unitsCp);
  search.Delimiters = BuildDelimiterSet(args.Delimiters.empty() ? u" ,;"
                                        : sameEscapes           ? args.Delimiters
                                                                : WithoutEscapeUnits(args.Delimiters));
  std::string_view ascii = args.TokenIsAscii ? args.AsciiToken : std::string_view();
  if (switches.IgnoreCase) {
    // Folded into a copy; otherwise the argument itself, which may be as
    // long as the text.
    search.AsciiTokenText = ascii;
    FoldCaseAscii(search.AsciiTokenText);
    ascii = search.AsciiTokenText;
  }
  search.AsciiToken = PrepareToken(ascii, switches.IgnoreCase);
  if (switches.Word) search.WordFail = PrepareEveryOccurrence(ascii);
  search.Token = std::move(args.Token);
  search.TokenCanMatch = sameEscapes || !HoldsEscapeUnit(search.Token);
  search.BytesCp = bytesCp;
  search.UnitsCp = unitsCp;
  search.TokenAsciiInBytes = args.TokenIsAscii && bytesCp != CodePageUtf16 && CodePageKeepsAscii(bytesCp);
  search.AsciiTextAsBytes = search.TokenAsciiInBytes && CodePageKeepsAscii(outputCp);
}

TFoundRec SearchText(TPreparedSearchRec& search, TSearchCursorRec& cursor, std::string_view text, int64_t knownPosition,
                     const char* readableEnd) {
  // Folding keeps ASCII within ASCII, but other characters fold into it
  // (the Kelvin sign to "k"): only an ASCII text is searched folded as
  // bytes. Where case is ignored, the text is tested for ASCII once, here.
  const bool testedAscii = search.TokenAsciiInBytes && search.IgnoreCase && IsAsciiText(text);
  if (search.TokenAsciiInBytes && (!search.IgnoreCase || testedAscii)) {
    // Not among the bytes: no occurrence of any kind in the text.
    int64_t position = knownPosition;
    if (position <= 0) {
      const size_t at = FindBytes(search.AsciiToken, text);
      position = at == NoOccurrence ? 0 : static_cast<int64_t>(at + 1);
    }
    if (position == 0) {
      cursor.Done = true;
      return TFoundRec();
    }
    if (search.AsciiTextAsBytes && (testedAscii || IsAsciiText(text))) {
      if (search.All || search.Occurrence != 0 || search.Word) {
        cursor = FreshCursor;
        cursor.Bytes = text;
        cursor.Readable = readableEnd ? readableEnd : text.data() + text.size();
        if (search.Word || search.Occurrence != 0) return FirstResult<char>(search, cursor);
        // --all: the first occurrence is found already; the rest follow it.
        const auto start = static_cast<size_t>(position - 1);
        cursor.From = start + search.AsciiToken.Units.size();
        cursor.Occurrence = 1;
        cursor.Done = OnlyResultAt(search, text, start);
        return FoundAt<char>(search, cursor, text, start);
      }
      // The first occurrence, found already: the cursor is needed no more.
      cursor.Readable = readableEnd ? readableEnd : text.data() + text.size();
      cursor.Occurrence = 1;
      cursor.Done = true;
      return FoundAt<char>(search, cursor, text, static_cast<size_t>(position - 1));
    }
  }
  return SearchDecoded(search, cursor, text);
}

TFoundRec SearchText(TPreparedSearchRec& search, TSearchCursorRec& cursor, std::u16string_view text) {
  MakeWideToken(search);
  cursor = FreshCursor;
  cursor.Wide = true;
  cursor.Units = text;
  // Case ignored: a token alone is searched for a block of the folded text
  // at a time, so that no folded copy of a long text is kept; one that
  // must stand as a word takes the folded copy.
  cursor.FoldInBlocks = search.IgnoreCase && !search.Word;
  if (!cursor.FoldInBlocks) cursor.UnitsHay = Haystack(search, text);
  if (!search.TokenCanMatch) {
    cursor.Done = true;
    return TFoundRec();
  }
  return FirstResult<char16_t>(search, cursor);
}

bool FindNextResult(TPreparedSearchRec& search, TSearchCursorRec& cursor, TFoundRec& found) {
  const size_t start = cursor.Wide ? NextIndex<char16_t>(search, cursor) : NextIndex<char>(search, cursor);
  if (start == NoOccurrence) {
    cursor.Done = true;
    return false;
  }
  found = cursor.Wide ? FoundAt<char16_t>(search, cursor, cursor.Units, start)
                      : FoundAt<char>(search, cursor, cursor.Bytes, start);
  return true;
}
