#include "app/prepared_search.h"

#include <type_traits>

#include "platform/platform.h"
#include "text/ascii.h"
#include "text/case_fold.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace {

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
  search.WideToken = PrepareToken<char16_t>(search.IgnoreCase ? search.FoldedToken : search.Token);
  search.WideTokenMade = true;
}

// The text as searched: folded into the search's room where case is
// ignored. Folding keeps each character's units, so positions hold for
// the text as given.
std::string_view Haystack(TPreparedSearchRec& search, std::string_view text) {
  if (!search.IgnoreCase) return text;
  search.Folded.assign(text);
  FoldCaseAscii(search.Folded);
  return search.Folded;
}
std::u16string_view Haystack(TPreparedSearchRec& search, std::u16string_view text) {
  if (!search.IgnoreCase) return text;
  search.WideFolded.assign(text);
  FoldCaseUtf16(search.WideFolded);
  return search.WideFolded;
}

// Where the token starts in text, from 1, or 0.
template <typename TChar>
int64_t LocateIn(TPreparedSearchRec& search, std::basic_string_view<TChar> text) {
  if constexpr (std::is_same_v<TChar, char>) {
    return LocateToken(search.AsciiToken, Haystack(search, text));
  } else {
    return search.TokenCanMatch ? LocateToken(search.WideToken, Haystack(search, text)) : 0;
  }
}

// The result for the token at position in text: ASCII bytes, where a unit
// of every kind is a byte, or UTF-16 units, counted as the search asks.
template <typename TChar>
TFoundRec FoundAt(const TPreparedSearchRec& search, std::basic_string_view<TChar> text, int64_t position) {
  TFoundRec found;
  found.Position = position;
  if constexpr (std::is_same_v<TChar, char>) {
    found.After = position + static_cast<int64_t>(search.AsciiToken.Units.size());
    found.BeforeBytes = TextBeforeSpan(text, found.Position, search.Length, search.Delimiters);
    found.AfterBytes = TextAfterSpan(text, found.After, search.Length, search.Delimiters);
  } else {
    const int64_t after = position + static_cast<int64_t>(search.Token.size());
    const TUnitCountRec count{search.Units, search.BytesCp, search.UnitsCp};
    found.Wide = true;
    found.BeforeUnits = TextBeforeSpanIn(count, text, position, search.Length, search.Delimiters);
    found.AfterUnits = TextAfterSpanIn(count, text, after, search.Length, search.Delimiters);
    found.After = after;
    if (count.Units != TUnits::Utf16) {
      const auto start = static_cast<size_t>(position - 1);
      found.Position = 1 + CountUnits(count, text.substr(0, start));
      found.After = found.Position + CountUnits(count, text.substr(start, static_cast<size_t>(after - position)));
    }
  }
  return found;
}

}  // namespace

void PrepareSearch(TPreparedSearchRec& search, const TSwitchesRec& switches, TSearchArgsRec& args, uint32_t bytesCp,
                   uint32_t unitsCp, uint32_t outputCp) {
  search.IgnoreCase = switches.IgnoreCase;
  search.Units = switches.Units;
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
  search.AsciiToken = PrepareToken(ascii);
  search.Token = std::move(args.Token);
  search.TokenCanMatch = sameEscapes || !HoldsEscapeUnit(search.Token);
  search.BytesCp = bytesCp;
  search.UnitsCp = unitsCp;
  search.TokenAsciiInBytes = args.TokenIsAscii && bytesCp != CodePageUtf16 && CodePageKeepsAscii(bytesCp);
  search.AsciiTextAsBytes = search.TokenAsciiInBytes && CodePageKeepsAscii(outputCp);
}

TFoundRec SearchText(TPreparedSearchRec& search, std::string_view text, int64_t knownPosition) {
  // Folding keeps ASCII within ASCII, but other characters fold into it
  // (the Kelvin sign to "k"): only an ASCII text is searched folded as
  // bytes.
  if (search.TokenAsciiInBytes && (!search.IgnoreCase || IsAsciiText(text))) {
    const int64_t position = knownPosition > 0 ? knownPosition : LocateIn(search, text);
    if (position == 0) return TFoundRec();
    if (search.AsciiTextAsBytes && IsAsciiText(text)) return FoundAt(search, text, position);
  }
  search.Decoded = NarrowToWide(text, search.BytesCp);
  return SearchText(search, std::u16string_view(search.Decoded));
}

TFoundRec SearchText(TPreparedSearchRec& search, std::u16string_view text) {
  MakeWideToken(search);
  const int64_t position = LocateIn(search, text);
  return position < 1 ? TFoundRec() : FoundAt(search, text, position);
}
