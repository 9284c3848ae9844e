#include "app/lines_mode.h"

#include "app/line_scan.h"
#include "app/notices.h"
#include "app/prepared_search.h"
#include "app/result_form.h"
#include "core/console.h"
#include "core/exit_code.h"
#include "core/line_input.h"
#include "core/params.h"
#include "text/ascii.h"

namespace {

// Writes the miss for every whole line held before the token's next
// occurrence among the held bytes, and moves past those lines: most lines
// of a large input lack the token, and one pass over many of them costs
// less than one search each. Returns the 1-based position of that
// occurrence in the next line, or 0 when none is held yet; where its
// whole line is held, takes it as line (lineAscii where it is known to be
// ASCII).
int64_t WriteMissesBeforeToken(TLineInputRec& in, const TPreparedSearchRec& search, TResultFormRec& form,
                               TTextChannelRec& out, std::string_view& line, bool& lineTaken, bool& lineAscii) {
  const std::string_view held = HeldInput(in);
  if (held.empty()) return 0;
  // Misses need counting only where they are written or numbered.
  const TLineHitRec hit = FindHitLine(search.AsciiToken, held, !form.FoundOnly || form.Numbered);
  WriteMisses(form, out, hit.Lines);
  const size_t start = in.Start;
  SkipHeldInput(in, hit.LineStart);
  if (hit.Hit == NoHit) return 0;
  if (hit.LineEnd != NoHit) {
    line = TakeByteLine(in, start + hit.LineEnd);
    lineTaken = true;
    lineAscii = hit.Ascii;
  }
  return static_cast<int64_t>(hit.Hit - hit.LineStart + 1);
}

// Searches every line of in and writes the results; true when any line
// holds the token. With fileName, every result names that file.
bool SearchLinesOf(TLineInputRec& in, const TSwitchesRec& switches, const TSearchArgsRec& args, TTextChannelRec& out,
                   const std::u16string* fileName) {
  ReadByteOrderMark(in);
  TSearchArgsRec searchArgs = args;
  TPreparedSearchRec search;
  PrepareSearch(search, switches, searchArgs, in.CodePage, in.CodePage, out.CodePage);
  TResultFormRec form;
  PrepareResultForm(form, switches, search.Length, in.CodePage, out, fileName, ParamCodePage());
  const bool inBulk = SearchesLinesInBulk(search);
  const bool takesFound = inBulk && TakesFoundOccurrences(search), all = search.All;

  bool anyFound = false;
  std::string_view line;
  TSearchCursorRec cursor;
  for (;;) {
    bool lineTaken = false, lineAscii = false;
    const int64_t heldHit = inBulk ? WriteMissesBeforeToken(in, search, form, out, line, lineTaken, lineAscii) : 0;
    if (!lineTaken && !NextInputLine(in, line)) break;
    const std::string_view held = HeldInput(in);  // the line lies among these bytes
    if (heldHit > 0 && takesFound && (lineAscii || IsAsciiText(line)) &&
        (!all || OnlyResultAt(search, line, static_cast<size_t>(heldHit - 1)))) {
      // The line's one result, inline from the search to the writer: most
      // lines that hold the token take this way.
      WriteFound(form, out,
                 FoundInAsciiText(search, line, static_cast<size_t>(heldHit - 1), held.data() + held.size()));
      anyFound = true;
      CountLine(form);
      continue;
    }
    TFoundRec found = SearchText(search, cursor, line, heldHit, held.data() + held.size());
    anyFound = anyFound || found.Position >= 1;
    WriteResult(form, out, found);
    while (NextResult(search, cursor, found)) WriteResult(form, out, found);
    CountLine(form);
  }
  return anyFound;
}

}  // namespace

int32_t SearchInputLines(const TSwitchesRec& switches) {
  TTextChannelRec out;
  BindChannel(out, TStdStream::Output, TChannelMode::LineBlocks);
  out.QuietWhenReaderGone = true;
  const TSearchArgsRec args = ReadSearchArgs(switches);
  TLineInputRec in;
  if (!switches.Files) {
    OpenLineInput(in, out);
    const bool anyFound = SearchLinesOf(in, switches, args, out, nullptr);
    CloseLineInput(in);
    ReleaseChannel(out);
    return anyFound ? ExitTokenFound : ExitTokenNotFound;
  }
  // Each file in turn; no file at all, or "-", is standard input.
  bool anyFound = false, anyFailed = false;
  const int32_t first = switches.TokenIndex + 1;
  const int32_t last = ParamCount() >= first ? ParamCount() : first;
  for (int32_t i = first; i <= last; ++i) {
    const std::u16string name = i <= ParamCount() ? ParamText(i) : u"-";
    TInputRec source = StandardInput();
    std::string reason;
    if (name != u"-" && !OpenInputFile(ParamStr(i), name, source, reason)) {
      SayOfInput(switches, i, reason);
      anyFailed = true;
      continue;
    }
    OpenLineInput(in, out, source, false);
    anyFound = SearchLinesOf(in, switches, args, out, &name) || anyFound;
    if (in.ReadFailed) {
      SayOfInput(switches, i, in.FailureReason);
      anyFailed = true;
    }
    CloseLineInput(in);
    CloseInput(source);
  }
  ReleaseChannel(out);
  return anyFailed ? ExitInputFailed : anyFound ? ExitTokenFound : ExitTokenNotFound;
}
