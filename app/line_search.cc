#include "app/line_search.h"

#include <cstring>

#include "app/result_line.h"
#include "core/console.h"
#include "core/exit_code.h"
#include "core/line_input.h"
#include "core/params.h"
#include "text/ascii.h"
#include "text/code_page.h"

namespace {

// Writes the miss line for every whole line held before the token's next
// occurrence among the held bytes, and moves past those lines: most lines
// of a large input lack the token, and one search over many of them costs
// less than one search each. Only for an ASCII token without CR or LF,
// searched as bytes, which then never spans a line end. Returns the
// 1-based position of that occurrence in the next line, or 0 when none is
// held yet.
int64_t WriteMissesBeforeToken(TLineInputRec& in, TTextChannelRec& out, const TTokenRec<char>& token,
                               std::string_view miss) {
  const std::string_view held = HeldInput(in);
  if (held.empty()) return 0;
  const int64_t hit = LocateToken(token, held);
  const size_t stop = hit > 0 ? static_cast<size_t>(hit - 1) : held.size();
  size_t lineStart = 0;
  while (const void* lf = std::memchr(held.data() + lineStart, '\n', stop - lineStart)) {
    WriteAscii(out, miss);
    WriteLineEnd(out);
    lineStart = static_cast<size_t>(static_cast<const char*>(lf) - held.data()) + 1;
  }
  SkipHeldInput(in, lineStart);
  return hit > 0 ? static_cast<int64_t>(stop - lineStart + 1) : 0;
}

}  // namespace

int32_t SearchInputLines() {
  TTextChannelRec out;
  BindChannel(out, TStdStream::Output, TChannelMode::LineBlocks);
  out.QuietWhenReaderGone = true;
  TLineInputRec in;
  OpenLineInput(in, InputCodePage(), out);
  while (!TakeByteOrderMark(in)) ReadMoreInput(in);

  const TSearchRulesRec rules = ReadSearchRules(in.CodePage);
  const std::u16string token = ParamText(2);
  const TTokenRec<char16_t> wideToken = PrepareToken<char16_t>(token);
  std::string_view ascii;
  const bool tokenIsAscii = ParamAscii(2, ascii);
  const TTokenRec<char> asciiToken = PrepareToken(ascii);
  const bool tokenCanMatch = TokenCanMatchText(token, in.CodePage);

  // Each character a decoder makes of ASCII stands for that ASCII byte
  // alone, so an ASCII token that is not among a line's bytes is not in
  // its text either: such a line needs no decoding at all. An ASCII line
  // is searched as bytes where the output's page keeps ASCII too, as a
  // single call does.
  const bool searchBytesFirst = tokenIsAscii && in.CodePage != CodePageUtf16 && CodePageKeepsAscii(in.CodePage);
  const bool asciiLinesAsBytes = searchBytesFirst && CodePageKeepsAscii(out.CodePage);
  const bool skipMissesInBulk =
      searchBytesFirst && !ascii.empty() && ascii.find_first_of("\r\n") == std::string_view::npos;
  const std::string miss = "FALSE|0|0|" + std::to_string(rules.Length) + "|||";

  bool anyFound = false;
  std::u16string text;
  std::string_view line;
  for (;;) {
    const int64_t heldHit = skipMissesInBulk ? WriteMissesBeforeToken(in, out, asciiToken, miss) : 0;
    if (!NextInputLine(in, line)) break;
    TFoundRec found;
    if (searchBytesFirst) found.Position = heldHit > 0 ? heldHit : LocateToken(asciiToken, line);
    if ((searchBytesFirst && found.Position == 0) || !tokenCanMatch) {
      WriteAscii(out, miss);
      WriteLineEnd(out);
      continue;
    }
    if (asciiLinesAsBytes && IsAsciiText(line)) {
      found.After = found.Position + static_cast<int64_t>(ascii.size());
      WriteResultLine(out, found, rules.Length,
                      TextBeforeSpan(line, found.Position, rules.Length, rules.Delimiters),
                      TextAfterSpan(line, found.After, rules.Length, rules.Delimiters));
    } else {
      text = NarrowToWide(line, in.CodePage);
      const std::u16string_view wide = text;
      found.Position = LocateToken(wideToken, wide);
      std::u16string_view before, after;
      if (found.Position >= 1) {
        found.After = found.Position + static_cast<int64_t>(token.size());
        before = TextBeforeSpan(wide, found.Position, rules.Length, rules.Delimiters);
        after = TextAfterSpan(wide, found.After, rules.Length, rules.Delimiters);
      }
      WriteResultLine(out, found, rules.Length, before, after, in.CodePage);
    }
    anyFound = anyFound || found.Position >= 1;
  }
  CloseLineInput(in);
  ReleaseChannel(out);
  return anyFound ? ExitTokenFound : ExitTokenNotFound;
}
