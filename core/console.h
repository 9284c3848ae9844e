// Text output channels: buffered writers on the standard streams that encode
// text in the stream's code page, end lines with CR LF and treat any failed
// write as the end of the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

// Most bytes one write of a channel takes: a piece of a text, and a line
// (or a block of whole lines) that goes out in one write. A pipe takes a
// write of up to 4 KiB whole, and so does a file opened for appending, so
// lines written that way never mix with those of parallel callers.
constexpr size_t ChannelBufferSize = 256;
constexpr size_t ChannelLineSize = 4096;

// How a channel hands its text to the operating system.
enum class TChannelMode {
  Pieces,      // at every line end, and in 256-byte pieces as the buffer fills
  WholeLine,   // a line of up to 4 KiB in one write; a longer one in pieces
  LineBlocks,  // whole lines gathered into writes of up to 4 KiB, which go
               // out when the next line no longer fits or at FlushChannel;
               // a line longer than 4 KiB in pieces
};

struct TTextChannelRec {
  TStdStream Stream = TStdStream::Output;
  uint32_t CodePage = 0;  // page the bytes are written in
  TChannelMode Mode = TChannelMode::Pieces;
  size_t Fill = 0;        // bytes waiting in Buffer
  size_t LineStart = 0;   // LineBlocks: where the line being written begins
  bool InPieces = false;  // the line being written outgrew the buffer
  char Buffer[ChannelLineSize];
};

// The core's two channels; bound by CoreStartup.
extern TTextChannelRec ConsoleOut;
extern TTextChannelRec ConsoleErr;

// Flushes what is buffered, then points the channel at stream, in the
// platform's output code page, writing as mode says.
void BindChannel(TTextChannelRec& channel, TStdStream stream, TChannelMode mode = TChannelMode::Pieces);

// Program literals, held as UTF-8. ASCII passes unchanged.
void WriteText(TTextChannelRec& channel, std::string_view utf8);

// Narrow text in the ANSI code page. It goes out unchanged where the stream
// uses the ANSI page, or where it is ASCII and the stream's page keeps
// ASCII as it is; otherwise it is converted.
void WriteAnsiText(TTextChannelRec& channel, const std::string& ansi);

// UTF-16 text decoded from bytes in sourceCp: its byte escapes are the bytes
// again where the stream uses sourceCp (see NarrowFromWide).
void WriteWideText(TTextChannelRec& channel, const std::u16string& wide, uint32_t sourceCp);

// A number in plain decimal, "-" before negative values.
void WriteNumber(TTextChannelRec& channel, int64_t value);

// Writes CR LF and hands the buffer to the operating system (in
// LineBlocks mode only once the block is full, or at FlushChannel).
void WriteLineEnd(TTextChannelRec& channel);

// Hands whatever is buffered to the operating system. A partial write is
// continued and an interrupted one retried; an error, or a write that makes
// no progress, ends the run with the failure report and exit code 217.
void FlushChannel(TTextChannelRec& channel);
