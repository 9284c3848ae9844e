#include "core/console.h"

#include <cstdint>
#include <cstring>

#include "core/exit_code.h"
#include "text/ascii.h"
#include "text/code_page.h"

// Constant-initialized: no code runs for them at start.
constinit TTextChannelRec ConsoleOut{};
constinit TTextChannelRec ConsoleErr{};

namespace {

enum class TWriteOutcome { Done, ReaderGone, Failed };

// Writes all of data, continuing short writes and retrying interrupted ones;
// written counts the bytes the stream took.
TWriteOutcome WriteAll(const TTextChannelRec& channel, const char* data, size_t size, size_t& written) {
  written = 0;
  while (written < size) {
    const size_t left = size - written;
    const TWriteResultRec r = WriteStdStream(channel.Stream, data + written, left);
    if (r.Kind == TWriteResultRec::Interrupted) continue;
    if (r.Kind == TWriteResultRec::ReaderGone) return TWriteOutcome::ReaderGone;
    // A stream that stops taking bytes has failed too.
    if (r.Kind == TWriteResultRec::Failed || r.Count == 0 || r.Count > left) return TWriteOutcome::Failed;
    // Where the count is of characters, not bytes, a short count is no
    // short write.
    if (r.Count < left && WriteCountsCharacters(channel.Stream)) return TWriteOutcome::Done;
    written += r.Count;
  }
  return TWriteOutcome::Done;
}

// What a write hands over: whole lines (a block of them), a piece of the
// line being written that goes on, or the rest of that line to its end.
enum class TWritePart { WholeLines, LinePiece, LineEnd };

char* PutHex(char* out, uintptr_t value) {
  static const char Digits[] = "0123456789ABCDEF";
  for (int shift = 60; shift >= 0; shift -= 4) *out++ = Digits[(uint64_t{value} >> shift) & 0xF];
  return out;
}

// Hands size bytes of data to the operating system, or ends the run with
// the failure report. A file of our own that took part of a line is cut
// back to the end of its last whole line first, so that a reader who
// misses the exit code still never takes a cut line for a result. The
// report names this function and the caller it returns to, so it must
// stay a function of its own: GCC and clang both honour these two.
__attribute__((noinline)) void WriteOrHalt(TTextChannelRec& channel, const char* data, size_t size, TWritePart part) {
  size_t written = 0;
  const TWriteOutcome outcome = WriteAll(channel, data, size, written);
  if (outcome == TWriteOutcome::Done) {
    channel.LineWritten = part == TWritePart::LinePiece ? channel.LineWritten + size : 0;
    return;
  }
  if (outcome == TWriteOutcome::ReaderGone && channel.QuietWhenReaderGone) EndProcess(ExitWriteFailed);
  uint64_t open = channel.LineWritten + written;
  if (part == TWritePart::WholeLines) {
    // Lines in a block hold no LF but their own line ends.
    const std::string_view taken(data, written);
    const size_t lastEnd = taken.rfind('\n');
    open = lastEnd == std::string_view::npos ? written : written - lastEnd - 1;
  }
  CutStreamEnd(channel.Stream, open);
  HaltWithReport("EInOutError: Disk Full", reinterpret_cast<uintptr_t>(&WriteOrHalt),
                 reinterpret_cast<uintptr_t>(__builtin_return_address(0)));
}

// The process's line block, made on first use and kept to the end, and
// the LineBlocks channel that holds it, whose whole lines must go out even
// when the run ends for want of memory.
char* ProcessLineBlock = nullptr;
size_t ProcessLineBlockSize = 0;
TTextChannelRec* LineBlockOwner = nullptr;

// The line block of at least size bytes; its bytes are not kept when it
// has to grow, which only a newly bound channel asks for.
char* LineBlock(size_t size) {
  if (ProcessLineBlockSize < size) {
    delete[] ProcessLineBlock;
    ProcessLineBlock = new char[size];
    ProcessLineBlockSize = size;
  }
  return ProcessLineBlock;
}

size_t Capacity(const TTextChannelRec& channel) {
  return channel.Block && !channel.InPieces ? channel.BlockSize : ChannelBufferSize;
}

// The whole lines before the one being written go out as a block; that one
// moves to the front.
void WriteWholeLines(TTextChannelRec& channel) {
  char* data = ChannelData(channel);
  const size_t block = channel.LineStart;
  channel.LineStart = 0;
  channel.Fill -= block;
  WriteOrHalt(channel, data, block, TWritePart::WholeLines);
  std::memmove(data, data + block, channel.Fill);
}

// The buffer is full and the line goes on.
void MakeRoom(TTextChannelRec& channel) {
  if (channel.Mode != TChannelMode::Pieces && !channel.Block && !channel.InPieces) {
    // A line longer than Buffer moves to the line block.
    channel.BlockSize = ChannelLineSize;
    channel.Block = LineBlock(channel.BlockSize);
    std::memcpy(channel.Block, channel.Buffer, channel.Fill);
    return;
  }
  char* data = ChannelData(channel);
  const size_t size = channel.Fill;
  if (Capacity(channel) == ChannelBufferSize) {
    // The next piece; a line in pieces stays in pieces to its end.
    channel.Fill = 0;
    WriteOrHalt(channel, data, size, TWritePart::LinePiece);
    return;
  }
  if (channel.LineStart > 0) {
    WriteWholeLines(channel);
    return;
  }
  // One line longer than the block: it goes out in 256-byte pieces, as a
  // plain channel writes them.
  channel.Fill = 0;
  channel.InPieces = true;
  for (size_t at = 0; at < size; at += ChannelBufferSize)
    WriteOrHalt(channel, data + at, size - at < ChannelBufferSize ? size - at : ChannelBufferSize,
                TWritePart::LinePiece);
}

// Hands whatever is buffered, which is part, to the operating system. Out
// of line: WriteLineEnd, which calls it once a block, runs for every line.
[[gnu::noinline]] void FlushBuffered(TTextChannelRec& channel, TWritePart part) {
  const size_t size = channel.Fill;
  // The bytes are lost on failure, never written twice.
  channel.Fill = 0;
  channel.LineStart = 0;
  channel.InPieces = false;
  if (size > 0) WriteOrHalt(channel, ChannelData(channel), size, part);
}

}  // namespace

// The report of an unhandled error: a failed write ("EInOutError: Disk
// Full"), a failed read ("EInOutError: Disk read error"), exhausted memory
// ("EOutOfMemory: Out of memory"). If standard error fails too there is
// nobody left to tell, and the exit code still says 217.
void HaltWithReport(std::string_view error, uintptr_t failingAddress, uintptr_t callerAddress) {
  char report[160];
  char* end = PutText(report, "An unhandled exception occurred at $");
  end = PutHex(end, failingAddress);
  end = PutText(end, ":\r\n");
  end = PutText(end, error);
  end = PutText(end, "\r\n  $");
  end = PutHex(end, failingAddress);
  end = PutText(end, "\r\n  $");
  end = PutHex(end, callerAddress);
  end = PutText(end, "\r\n\r\n");
  TTextChannelRec err;
  err.Stream = TStdStream::Error;
  size_t written;
  WriteAll(err, report, static_cast<size_t>(end - report), written);
  EndProcess(ExitWriteFailed);
}

void BindChannel(TTextChannelRec& channel, TStdStream stream, TChannelMode mode) {
  FlushChannel(channel);
  channel.Stream = stream;
  channel.CodePage = OutputCodePage();
  channel.Mode = mode;
  channel.BlockSize =
      mode == TChannelMode::LineBlocks && StreamIsUnshared(stream) ? ChannelUnsharedBlockSize : ChannelLineSize;
  channel.Block = mode == TChannelMode::LineBlocks ? LineBlock(channel.BlockSize) : nullptr;
  if (mode == TChannelMode::LineBlocks) LineBlockOwner = &channel;
}

void ReleaseChannel(TTextChannelRec& channel) {
  FlushChannel(channel);
  if (LineBlockOwner == &channel) LineBlockOwner = nullptr;
  channel.Block = nullptr;
}

void AppendBytes(TTextChannelRec& channel, std::string_view bytes) {
  const char* data = bytes.data();
  size_t size = bytes.size();
  if (size <= Capacity(channel) - channel.Fill) {  // the common case: it fits
    if (size > 0) std::memcpy(ChannelData(channel) + channel.Fill, data, size);
    channel.Fill += size;
    return;
  }
  while (size > 0) {
    if (channel.Fill == Capacity(channel)) MakeRoom(channel);
    const size_t room = Capacity(channel) - channel.Fill;
    const size_t take = size < room ? size : room;
    std::memcpy(ChannelData(channel) + channel.Fill, data, take);
    channel.Fill += take;
    data += take;
    size -= take;
  }
}

char* MakeRoomFor(TTextChannelRec& channel, size_t size) {
  if (channel.LineStart > 0 && size > Capacity(channel) - channel.Fill) WriteWholeLines(channel);
  if (size > Capacity(channel) - channel.Fill) {
    if (size > ChannelBufferSize || Capacity(channel) != ChannelBufferSize) return nullptr;
    // What is buffered goes out as a piece of the line, as it would when
    // the buffer filled.
    const size_t piece = channel.Fill;
    channel.Fill = 0;
    WriteOrHalt(channel, ChannelData(channel), piece, TWritePart::LinePiece);
  }
  return ChannelData(channel) + channel.Fill;
}

void WriteText(TTextChannelRec& channel, std::string_view utf8) {
  if (IsAsciiText(utf8) || channel.CodePage == CodePageUtf8) {
    AppendBytes(channel, utf8);
    return;
  }
  AppendBytes(channel, WideToNarrow(NarrowToWide(utf8, CodePageUtf8), channel.CodePage));
}

void WriteAnsiText(TTextChannelRec& channel, const std::string& ansi) {
  const uint32_t acp = AnsiCodePage();
  if (acp == channel.CodePage || (CodePageKeepsAscii(channel.CodePage) && IsAsciiText(ansi))) {
    AppendBytes(channel, ansi);
    return;
  }
  AppendBytes(channel, WideToNarrow(NarrowToWide(ansi, acp), channel.CodePage));
}

char* PutLongDecimal(char* out, int64_t value) {
  // Two digits at a time from a table: positions come by the million with
  // --lines.
  static const char Pairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (value < 0) *out++ = '-';
  char digits[20];
  char* at = digits + sizeof digits;
  while (magnitude >= 100) {
    const unsigned pair = static_cast<unsigned>(magnitude % 100) * 2;
    magnitude /= 100;
    *--at = Pairs[pair + 1];
    *--at = Pairs[pair];
  }
  if (magnitude >= 10) {
    *--at = Pairs[magnitude * 2 + 1];
    *--at = Pairs[magnitude * 2];
  } else {
    *--at = static_cast<char>('0' + magnitude);
  }
  while (at < digits + sizeof digits) *out++ = *at++;
  return out;
}

void WriteLineEnd(TTextChannelRec& channel) {
  if (channel.Fill + 2 <= Capacity(channel)) {
    char* data = ChannelData(channel);
    if (!channel.LfLineEnds) data[channel.Fill++] = '\r';
    data[channel.Fill++] = '\n';
  } else {
    AppendBytes(channel, channel.LfLineEnds ? std::string_view("\n", 1) : std::string_view("\r\n", 2));
  }
  EndLine(channel);
}

void EndLine(TTextChannelRec& channel) {
  if (channel.Mode == TChannelMode::LineBlocks && !channel.InPieces) {
    channel.LineStart = channel.Fill;  // more lines may join the block
    return;
  }
  FlushBuffered(channel, TWritePart::LineEnd);
}

void FlushChannel(TTextChannelRec& channel) {
  FlushBuffered(channel, channel.Mode == TChannelMode::LineBlocks && !channel.InPieces ? TWritePart::WholeLines
                                                                                       : TWritePart::LinePiece);
}

// The report names this function and its caller, as WriteOrHalt's does.
__attribute__((noinline)) void HaltOnOutOfMemory() {
  if (TTextChannelRec* owner = LineBlockOwner) {
    // Only whole lines: the one being written is dropped.
    owner->Fill = owner->InPieces ? 0 : owner->LineStart;
    FlushChannel(*owner);
    CutStreamEnd(owner->Stream, owner->LineWritten);  // the pieces of a dropped line
  }
  HaltWithReport("EOutOfMemory: Out of memory", reinterpret_cast<uintptr_t>(&HaltOnOutOfMemory),
                 reinterpret_cast<uintptr_t>(__builtin_return_address(0)));
}
