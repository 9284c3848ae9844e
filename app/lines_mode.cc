#include "app/lines_mode.h"

#include "app/prepared_search.h"
#include "app/result_form.h"
#include "core/console.h"
#include "core/exit_code.h"
#include "core/line_input.h"

namespace {

// Writes the miss for every whole line held before the token's next
// occurrence among the held bytes, and moves past those lines: most lines
// of a large input lack the token, and one search over many of them costs
// less than one search each. Returns the 1-based position of that
// occurrence in the next line, or 0 when none is held yet.
int64_t WriteMissesBeforeToken(TLineInputRec& in, const TPreparedSearchRec& search, TResultFormRec& form,
                               TTextChannelRec& out) {
  const std::string_view held = HeldInput(in);
  if (held.empty()) return 0;
  const int64_t hit = FindInLines(search, held);
  const size_t stop = hit > 0 ? static_cast<size_t>(hit - 1) : held.size();
  const size_t skipped = WriteMissLines(form, out, held.substr(0, stop));
  SkipHeldInput(in, skipped);
  return hit > 0 ? static_cast<int64_t>(stop - skipped + 1) : 0;
}

}  // namespace

int32_t SearchInputLines(const TSwitchesRec& switches) {
  TTextChannelRec out;
  BindChannel(out, TStdStream::Output, TChannelMode::LineBlocks);
  out.QuietWhenReaderGone = true;
  TLineInputRec in;
  OpenLineInput(in, out);
  ReadByteOrderMark(in);
  TSearchArgsRec args = ReadSearchArgs(switches);
  TPreparedSearchRec search;
  PrepareSearch(search, switches, args, in.CodePage, in.CodePage, out.CodePage);
  TResultFormRec form;
  PrepareResultForm(form, switches, search.Length, in.CodePage, out);
  const bool inBulk = SearchesLinesInBulk(search);

  bool anyFound = false;
  std::string_view line;
  TSearchCursorRec cursor;
  for (;;) {
    const int64_t heldHit = inBulk ? WriteMissesBeforeToken(in, search, form, out) : 0;
    if (!NextInputLine(in, line)) break;
    TFoundRec found = SearchText(search, cursor, line, heldHit);
    anyFound = anyFound || found.Position >= 1;
    WriteResult(form, out, found);
    while (NextResult(search, cursor, found)) WriteResult(form, out, found);
    CountLine(form);
  }
  CloseLineInput(in);
  ReleaseChannel(out);
  return anyFound ? ExitTokenFound : ExitTokenNotFound;
}
