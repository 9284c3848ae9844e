#include "core/console.h"

#include <cstdint>
#include <cstring>

#include "core/exit_code.h"
#include "core/text_conversion.h"
#include "text/ascii.h"
#include "text/code_page.h"

TTextChannelRec ConsoleOut;
TTextChannelRec ConsoleErr;

namespace {

// Writes all of data, continuing short writes and retrying interrupted ones.
// False when the stream fails or stops taking bytes.
bool WriteAll(const TTextChannelRec& channel, const char* data, size_t size) {
  while (size > 0) {
    const TWriteResultRec r = WriteStdStream(channel.Stream, data, size);
    if (r.Kind == TWriteResultRec::Interrupted) continue;
    if (r.Kind == TWriteResultRec::Failed || r.Count == 0 || r.Count > size) return false;
    // Where the count is of characters, not bytes, a short count is no
    // short write.
    if (r.Count < size && WriteCountsCharacters(channel.Stream)) return true;
    data += r.Count;
    size -= r.Count;
  }
  return true;
}

// Appends text at out and returns the end; the report needs no heap.
char* Put(char* out, std::string_view text) {
  for (char c : text) *out++ = c;
  return out;
}

char* PutHex(char* out, uintptr_t value) {
  static const char Digits[] = "0123456789ABCDEF";
  for (int shift = 60; shift >= 0; shift -= 4) *out++ = Digits[(uint64_t{value} >> shift) & 0xF];
  return out;
}

// The error report for a failed write; if standard error fails
// too there is nobody left to tell, and the exit code still says 217.
[[noreturn]] void HaltOnWriteFailure(uintptr_t failingAddress, uintptr_t callerAddress) {
  char report[160];
  char* end = Put(report, "An unhandled exception occurred at $");
  end = PutHex(end, failingAddress);
  end = Put(end, ":\r\nEInOutError: Disk Full\r\n  $");
  end = PutHex(end, failingAddress);
  end = Put(end, "\r\n  $");
  end = PutHex(end, callerAddress);
  end = Put(end, "\r\n\r\n");
  TTextChannelRec err;
  err.Stream = TStdStream::Error;
  WriteAll(err, report, static_cast<size_t>(end - report));
  EndProcess(ExitWriteFailed);
}

// Hands size bytes of data to the operating system, or ends the run with
// the failure report. The report names this function and the caller it
// returns to, so it must stay a function of its own: GCC and clang both
// honour these two.
__attribute__((noinline)) void WriteOrHalt(const TTextChannelRec& channel, const char* data, size_t size) {
  if (!WriteAll(channel, data, size))
    HaltOnWriteFailure(reinterpret_cast<uintptr_t>(&WriteOrHalt),
                       reinterpret_cast<uintptr_t>(__builtin_return_address(0)));
}

size_t Capacity(const TTextChannelRec& channel) {
  return channel.Mode == TChannelMode::Pieces || channel.InPieces ? ChannelBufferSize : ChannelLineSize;
}

// The buffer is full and the line goes on.
void MakeRoom(TTextChannelRec& channel) {
  if (Capacity(channel) == ChannelBufferSize) {
    // The next piece; a line in pieces stays in pieces to its end.
    const size_t size = channel.Fill;
    channel.Fill = 0;
    WriteOrHalt(channel, channel.Buffer, size);
    return;
  }
  if (channel.LineStart > 0) {
    // The whole lines before this one go out as a block; this one moves to
    // the front.
    const size_t block = channel.LineStart;
    channel.LineStart = 0;
    channel.Fill -= block;
    WriteOrHalt(channel, channel.Buffer, block);
    std::memmove(channel.Buffer, channel.Buffer + block, channel.Fill);
    return;
  }
  // One line longer than the buffer: it goes out in 256-byte pieces, as a
  // plain channel writes them.
  const size_t size = channel.Fill;
  channel.Fill = 0;
  channel.InPieces = true;
  for (size_t at = 0; at < size; at += ChannelBufferSize)
    WriteOrHalt(channel, channel.Buffer + at, size - at < ChannelBufferSize ? size - at : ChannelBufferSize);
}

void AppendBytes(TTextChannelRec& channel, const char* data, size_t size) {
  while (size > 0) {
    if (channel.Fill == Capacity(channel)) MakeRoom(channel);
    const size_t room = Capacity(channel) - channel.Fill;
    const size_t take = size < room ? size : room;
    std::memcpy(channel.Buffer + channel.Fill, data, take);
    channel.Fill += take;
    data += take;
    size -= take;
  }
}

void AppendNarrow(TTextChannelRec& channel, const std::string& text) {
  AppendBytes(channel, text.data(), text.size());
}

}  // namespace

void BindChannel(TTextChannelRec& channel, TStdStream stream, TChannelMode mode) {
  FlushChannel(channel);
  channel.Stream = stream;
  channel.CodePage = OutputCodePage();
  channel.Mode = mode;
}

void WriteText(TTextChannelRec& channel, std::string_view utf8) {
  if (IsAsciiText(utf8) || channel.CodePage == CodePageUtf8) {
    AppendBytes(channel, utf8.data(), utf8.size());
    return;
  }
  AppendNarrow(channel, WideToNarrow(NarrowToWide(utf8, CodePageUtf8), channel.CodePage));
}

void WriteAnsiText(TTextChannelRec& channel, const std::string& ansi) {
  const uint32_t acp = AnsiCodePage();
  if (acp == channel.CodePage || (CodePageKeepsAscii(channel.CodePage) && IsAsciiText(ansi))) {
    AppendNarrow(channel, ansi);
    return;
  }
  AppendNarrow(channel, WideToNarrow(NarrowToWide(ansi, acp), channel.CodePage));
}

void WriteWideText(TTextChannelRec& channel, const std::u16string& wide, uint32_t sourceCp) {
  if (!wide.empty()) AppendNarrow(channel, NarrowFromWide(wide, channel.CodePage, sourceCp));
}

void WriteNumber(TTextChannelRec& channel, int64_t value) {
  char digits[24];
  size_t n = 0;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits[n++] = '-';
  char text[24];
  for (size_t i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
  AppendBytes(channel, text, n);
}

void WriteLineEnd(TTextChannelRec& channel) {
  AppendBytes(channel, "\r\n", 2);
  if (channel.Mode == TChannelMode::LineBlocks && !channel.InPieces) {
    channel.LineStart = channel.Fill;  // more lines may join the block
    return;
  }
  FlushChannel(channel);
}

void FlushChannel(TTextChannelRec& channel) {
  const size_t size = channel.Fill;
  // The bytes are lost on failure, never written twice.
  channel.Fill = 0;
  channel.LineStart = 0;
  channel.InPieces = false;
  if (size > 0) WriteOrHalt(channel, channel.Buffer, size);
}
