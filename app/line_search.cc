#include "app/line_search.h"

#include <cstring>

#include "app/result_line.h"
#include "core/console.h"
#include "core/exit_code.h"
#include "core/line_input.h"

namespace {

// Writes the miss line for every whole line held before the token's next
// occurrence among the held bytes, and moves past those lines: most lines
// of a large input lack the token, and one search over many of them costs
// less than one search each. Returns the 1-based position of that
// occurrence in the next line, or 0 when none is held yet.
int64_t WriteMissesBeforeToken(TLineInputRec& in, TTextChannelRec& out, TPreparedSearchRec& search) {
  const std::string_view held = HeldInput(in);
  if (held.empty()) return 0;
  const int64_t hit = LocateToken(search.AsciiToken, held);
  const size_t stop = hit > 0 ? static_cast<size_t>(hit - 1) : held.size();
  size_t lineStart = 0;
  if (search.Switches.FoundOnly && !search.NumberedLines) {
    // Nothing to write and nothing to count: past them all at once (the
    // backward scan only where a line end is there to find).
    if (std::memchr(held.data(), '\n', stop)) lineStart = held.substr(0, stop).rfind('\n') + 1;
  } else if (!search.NumberedLines) {
    // The same line for each: the switches are asked once, not per line,
    // which would cost a miss a tenth more.
    const std::string_view miss(search.MissLine, search.MissLineSize);
    while (const void* lf = std::memchr(held.data() + lineStart, '\n', stop - lineStart)) {
      WriteAscii(out, miss);
      WriteLineEnd(out);
      lineStart = static_cast<size_t>(static_cast<const char*>(lf) - held.data()) + 1;
    }
  } else {
    while (const void* lf = std::memchr(held.data() + lineStart, '\n', stop - lineStart)) {
      WriteMissLine(search, out);
      NextLine(search);
      lineStart = static_cast<size_t>(static_cast<const char*>(lf) - held.data()) + 1;
    }
  }
  SkipHeldInput(in, lineStart);
  return hit > 0 ? static_cast<int64_t>(stop - lineStart + 1) : 0;
}

}  // namespace

int32_t SearchInputLines(const TSwitchesRec& switches) {
  TTextChannelRec out;
  BindChannel(out, TStdStream::Output, TChannelMode::LineBlocks);
  out.QuietWhenReaderGone = true;
  TLineInputRec in;
  OpenLineInput(in, out);
  ReadByteOrderMark(in);
  TPreparedSearchRec search;
  PrepareSearch(search, switches, in.CodePage, in.CodePage, out);
  // An ASCII token without CR or LF, searched as bytes, never spans a line
  // end: the held lines can be searched as one. Not so when case is
  // ignored: other characters fold into ASCII.
  const std::string_view ascii = search.AsciiToken.Units;
  const bool missesInBulk = search.TokenAsciiInBytes && !switches.IgnoreCase && !ascii.empty() &&
                            ascii.find_first_of("\r\n") == std::string_view::npos;

  bool anyFound = false;
  std::u16string decoded;
  std::string_view line;
  for (;;) {
    const int64_t heldHit = missesInBulk ? WriteMissesBeforeToken(in, out, search) : 0;
    if (!NextInputLine(in, line)) break;
    anyFound = SearchAndWriteResult(search, line, out, decoded, heldHit).Position >= 1 || anyFound;
    NextLine(search);
  }
  CloseLineInput(in);
  ReleaseChannel(out);
  return anyFound ? ExitTokenFound : ExitTokenNotFound;
}
