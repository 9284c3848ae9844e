// Text output channels: buffered writers on the standard streams that encode
// text in the stream's code page, end lines with CR LF and treat any failed
// write as the end of the run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/platform.h"

// Most bytes one write of a channel takes: a piece of a text, and a line
// (or a block of whole lines) that goes out in one write. A pipe takes a
// write of up to 4 KiB whole, and so does a file opened for appending, so
// lines written that way never mix with those of parallel callers.
constexpr size_t ChannelBufferSize = 256;
constexpr size_t ChannelLineSize = 4096;
// A LineBlocks channel's block where no other writer can come between two
// writes (a file of its own, the null device): fewer, larger writes. As
// large as a read of input, so that the results of one read, flushed
// before the next, mostly go out in one write.
constexpr size_t ChannelUnsharedBlockSize = 256 * 1024;

// How a channel hands its text to the operating system.
enum class TChannelMode {
  Pieces,      // at every line end, and in 256-byte pieces as the buffer fills
  WholeLine,   // a line of up to 4 KiB in one write; a longer one in pieces
  LineBlocks,  // whole lines gathered into writes of up to 4 KiB (256 KiB
               // where the stream is unshared), which go out when the next
               // line no longer fits or at FlushChannel; a longer line in
               // pieces
};

struct TTextChannelRec {
  TStdStream Stream = TStdStream::Output;
  uint32_t CodePage = 0;  // page the bytes are written in
  TChannelMode Mode = TChannelMode::Pieces;
  size_t Fill = 0;        // bytes waiting in the buffer
  size_t LineStart = 0;   // LineBlocks: where the line being written begins
  bool InPieces = false;  // the line being written outgrew the buffer
  // A reader that has gone (a closed pipe) ends the run quietly, as
  // filters end: the exit code still says 217.
  bool QuietWhenReaderGone = false;
  bool LfLineEnds = false;  // lines end with LF alone, not CR LF
  // Bytes of the line being written that the operating system already has
  // (a line written in pieces): a failed write cuts them off a file.
  uint64_t LineWritten = 0;
  // The process's one line block, which a whole-line channel takes (4 KiB)
  // when its text outgrows Buffer, and a LineBlocks channel at once (4 or
  // 256 KiB): one such channel at a time. A short line never touches it, so
  // a single call pays for no more memory than its line needs.
  char* Block = nullptr;
  size_t BlockSize = ChannelLineSize;  // bytes Block holds
  char Buffer[ChannelBufferSize] = {};
};

// Where the channel's bytes wait: its block, or its own Buffer.
inline char* ChannelData(TTextChannelRec& channel) { return channel.Block ? channel.Block : channel.Buffer; }

// The core's two channels; bound by CoreStartup.
extern TTextChannelRec ConsoleOut;
extern TTextChannelRec ConsoleErr;

// Flushes what is buffered, then points the channel at stream, in the
// platform's output code page, writing as mode says. A LineBlocks channel
// owns the process's line block until ReleaseChannel.
void BindChannel(TTextChannelRec& channel, TStdStream stream, TChannelMode mode = TChannelMode::Pieces);

// Flushes what is buffered and gives up the line block.
void ReleaseChannel(TTextChannelRec& channel);

// Bytes written as they are: fixed ASCII texts, which pass unchanged into
// any page, and text already in the channel's page (ASCII text for a
// channel whose page keeps ASCII, or text converted by NarrowFromWide).
// What fits in the channel's buffer is copied inline: result lines with
// --lines come by the million.
void AppendBytes(TTextChannelRec& channel, std::string_view bytes);
inline void WriteBytes(TTextChannelRec& channel, std::string_view bytes) {
  if (channel.Block && !channel.InPieces && bytes.size() <= channel.BlockSize - channel.Fill) {
    if (!bytes.empty()) std::memcpy(channel.Block + channel.Fill, bytes.data(), bytes.size());
    channel.Fill += bytes.size();
    return;
  }
  AppendBytes(channel, bytes);
}

// Room for size more bytes of the line being written, to be put straight
// into the channel's buffer and taken with TakeRoom. Where they do not fit
// at once, the whole lines before go out first, or in 256-byte pieces what
// is buffered; null where they still do not fit (write such text with
// WriteBytes, which grows a line into the line block as it needs). So 256
// bytes at the start of a line always get room, and a line that fits in
// a channel's own buffer never touches the line block.
char* MakeRoomFor(TTextChannelRec& channel, size_t size);
inline char* ChannelRoom(TTextChannelRec& channel, size_t size) {
  if (channel.Block && !channel.InPieces && size <= channel.BlockSize - channel.Fill)
    return channel.Block + channel.Fill;
  return MakeRoomFor(channel, size);
}
inline void TakeRoom(TTextChannelRec& channel, const char* end) {
  channel.Fill = static_cast<size_t>(end - ChannelData(channel));
}

// Program literals, held as UTF-8. ASCII passes unchanged.
void WriteText(TTextChannelRec& channel, std::string_view utf8);

// Narrow text in the ANSI code page. It goes out unchanged where the stream
// uses the ANSI page, or where it is ASCII and the stream's page keeps
// ASCII as it is; otherwise it is converted.
void WriteAnsiText(TTextChannelRec& channel, const std::string& ansi);

// text put at out, which has room for it; returns the end of it. Result
// lines and the failure report are put together this way, with no heap.
// Up to sixteen bytes, most words of a result, are copied inline by two
// overlapping moves: a call of memcpy would cost more than the copy.
inline char* PutText(char* out, std::string_view text) {
  const char* from = text.data();
  const size_t size = text.size();
  if (size >= 8 && size <= 16) {
    std::memcpy(out, from, 8);
    std::memcpy(out + size - 8, from + size - 8, 8);
  } else if (size >= 4 && size < 8) {
    std::memcpy(out, from, 4);
    std::memcpy(out + size - 4, from + size - 4, 4);
  } else if (size > 0 && size < 4) {
    out[0] = from[0];
    out[size / 2] = from[size / 2];
    out[size - 1] = from[size - 1];
  } else if (size > 16) {
    std::memcpy(out, from, size);
  }
  return out + size;
}

// PutText for a text that may be read up to readable (its end or past
// it): one no longer than sixteen bytes is copied as sixteen, with no
// branch on its length to mispredict, where that many may be read; out
// then needs room for sixteen bytes.
inline char* PutShortText(char* out, std::string_view text, const char* readable) {
  if (text.size() <= 16 && text.data() && readable && readable - text.data() >= 16) {
    std::memcpy(out, text.data(), 16);
    return out + text.size();
  }
  return PutText(out, text);
}

// A number in plain decimal, "-" before negative values, put at out, which
// has room for 20 characters; returns the end of it. Numbers below 100,
// most lengths and positions, are put inline.
char* PutLongDecimal(char* out, int64_t value);
// The numbers 0 to 99 as two digits each, "00" to "99", made by the
// compiler.
constexpr std::array<char, 200> MakeDigitPairs() {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}
inline constexpr std::array<char, 200> DigitPairs = MakeDigitPairs();

inline char* PutDecimal(char* out, int64_t value) {
  if (static_cast<uint64_t>(value) < 100) {
    // Two digits copied from the table, from the second where the number
    // has one: no branch on the number of digits, and no division.
    const auto v = static_cast<unsigned>(value);
    const unsigned one = v < 10;
    std::memcpy(out, DigitPairs.data() + 2 * v + one, 2);
    return out + 2 - one;
  }
  return PutLongDecimal(out, value);
}

// Writes CR LF (LF alone when LfLineEnds) and hands the buffer to the
// operating system (in LineBlocks mode only once the block is full, or at
// FlushChannel).
void WriteLineEnd(TTextChannelRec& channel);

// The channel's line end put at out; returns the end of it.
inline char* PutLineEnd(const TTextChannelRec& channel, char* out) {
  if (!channel.LfLineEnds) *out++ = '\r';
  *out++ = '\n';
  return out;
}

// What WriteLineEnd does once the line end is in the buffer.
void EndLine(TTextChannelRec& channel);

// TakeRoom for whole lines put in the room, each with its line end (see
// PutLineEnd): the end of a line, as WriteLineEnd makes it, without a
// call where lines join a block.
inline void TakeLines(TTextChannelRec& channel, const char* end) {
  TakeRoom(channel, end);
  if (channel.Mode == TChannelMode::LineBlocks && !channel.InPieces)
    channel.LineStart = channel.Fill;
  else
    EndLine(channel);
}

// Hands whatever is buffered to the operating system. A partial write is
// continued and an interrupted one retried; an error, or a write that makes
// no progress, ends the run with the failure report and exit code 217.
void FlushChannel(TTextChannelRec& channel);

// Ends the run with the report of an unhandled error on standard error
// and exit code 217: "An unhandled exception occurred at $" and the
// failing address, the error's class and message ("EInOutError: Disk
// Full"), the failing address and its caller's, each line ended by CR LF,
// then an empty line. If standard error fails too, nobody is left to tell.
[[noreturn]] void HaltWithReport(std::string_view error, uintptr_t failingAddress, uintptr_t callerAddress);

// Ends the run when memory is exhausted: the whole lines that wait in the
// line block go out, then standard error gets the failure report with
// "EOutOfMemory: Out of memory", and the exit code is 217. Installed as
// the new-handler at start; also called where a block cannot grow.
[[noreturn]] void HaltOnOutOfMemory();
