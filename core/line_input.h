// An input (standard input or a file) as lines: the bytes held, their line
// ends and the byte-order mark that may start them. Taking lines from the held bytes is
// pure (and fuzzed); only ReadMoreInput touches the operating system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/console.h"
#include "platform/platform.h"
#include "text/code_page.h"

struct TLineInputRec {
  char* Data = nullptr;  // from malloc: a long line grows it in place
  size_t Capacity = 0;
  size_t Start = 0, End = 0;  // the bytes not yet taken as lines
  size_t Scanned = 0;         // bytes after Start known to hold no line end
  bool AtEnd = false;         // the input has ended
  bool MarkDecided = false;   // the byte-order mark has been looked for
  // The bytes' code page: CodePageUtf16 for UTF-16LE, where a line ends at
  // the unit LF (0A 00).
  uint32_t CodePage = 0;
  // Whatever this channel holds reaches the operating system before any
  // read that may wait: a caller that feeds one line and waits for its
  // answer gets it.
  TTextChannelRec* Output = nullptr;
  TInputRec Source;  // where the bytes come from
  // A failed read ends the run with the failure report; otherwise it ends
  // the input, and ReadFailed and FailureReason say so.
  bool HaltOnReadFailure = true;
  bool ReadFailed = false;
  std::string FailureReason;  // the system's words, in the ANSI code page
};

// Makes in ready to read source (standard input in the page the platform
// says its bytes are in, a file in the ANSI page) until a byte-order mark
// says otherwise, flushing output before each read. A failed read ends the
// run with the failure report where haltOnReadFailure, else the input.
void OpenLineInput(TLineInputRec& in, TTextChannelRec& output, const TInputRec& source = StandardInput(),
                   bool haltOnReadFailure = true);

// Reads until the byte-order mark, or the lack of one, is settled: the
// input's page is known then.
void ReadByteOrderMark(TLineInputRec& in);

// Releases what in holds (the source stays open).
void CloseLineInput(TLineInputRec& in);

// Room for at least size more bytes after the held ones, which move to
// the front first; the caller puts its bytes there and adds their count to
// End. Memory stays about twice the longest line. Out of memory ends the
// run (HaltOnOutOfMemory).
char* InputRoom(TLineInputRec& in, size_t size);

// Looks at the held bytes for a byte-order mark (EF BB BF: UTF-8; FF FE:
// UTF-16LE), takes it for what it says and moves past it. False while the
// held bytes could still be the start of one and the input goes on: a
// first byte other than EF or FF settles it at once.
bool TakeByteOrderMark(TLineInputRec& in);

enum class TLineStep { Line, NeedMore, NoMore };

// The next line among the held bytes, without its line end (LF, and a CR
// right before it): Line. NeedMore when the held bytes hold no whole line
// yet and the input goes on; a last line without LF is a line once the
// input has ended; NoMore when it has ended and nothing is held. Each byte
// is looked at once, however the reads split the input. Call
// TakeByteOrderMark first, until it is true.
TLineStep TakeLine(TLineInputRec& in, std::string_view& line);

// The held bytes, and a way to move past a part of them (a whole number of
// lines): for a caller that searches many held lines at once.
inline std::string_view HeldInput(const TLineInputRec& in) { return {in.Data + in.Start, in.End - in.Start}; }
inline void SkipHeldInput(TLineInputRec& in, size_t count) {
  in.Start += count;
  in.Scanned = in.Scanned > count ? in.Scanned - count : 0;
}

// The index just past the last LF among bytes (0 where there is none),
// sixteen bytes at a time from the end.
size_t AfterLastLineEnd(std::string_view bytes);

// The LF bytes among bytes, sixteen at a time.
size_t CountLineEnds(std::string_view bytes);

// Takes the held bytes up to the LF at index lf as the next line, without
// the LF and a CR right before it. For bytes, not UTF-16LE.
inline std::string_view TakeByteLine(TLineInputRec& in, size_t lf) {
  const size_t end = lf > in.Start && in.Data[lf - 1] == '\r' ? lf - 1 : lf;
  const std::string_view line(in.Data + in.Start, end - in.Start);
  in.Start = lf + 1;
  in.Scanned = 0;
  return line;
}

// Reads more of the input after the held bytes; false at its end. A failed
// read ends the run with the failure report and exit code 217, or the
// input (see OpenLineInput).
bool ReadMoreInput(TLineInputRec& in);

// The next line of the input (see TakeLine), reading as needed; false
// when there are no more. Reads the byte-order mark first. A whole line of
// bytes among the held ones, the common case, is taken inline: lines come
// by the million.
bool ReadInputLine(TLineInputRec& in, std::string_view& line);
inline bool NextInputLine(TLineInputRec& in, std::string_view& line) {
  const size_t at = in.Start + in.Scanned;
  if (in.MarkDecided && in.CodePage != CodePageUtf16 && at < in.End) {
    if (const void* lf = std::memchr(in.Data + at, '\n', in.End - at)) {
      line = TakeByteLine(in, static_cast<size_t>(static_cast<const char*>(lf) - in.Data));
      return true;
    }
  }
  return ReadInputLine(in, line);
}
