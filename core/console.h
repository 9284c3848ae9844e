// Text output channels: buffered writers on the standard streams that encode
// text in the stream's code page, end lines with CR LF and treat any failed
// write as the end of the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

constexpr size_t ChannelBufferSize = 256;

struct TTextChannelRec {
  TStdStream Stream = TStdStream::Output;
  uint32_t CodePage = 0;  // page the bytes are written in
  size_t Fill = 0;        // bytes waiting in Buffer
  char Buffer[ChannelBufferSize] = {};
};

// The core's two channels; bound by CoreStartup.
extern TTextChannelRec ConsoleOut;
extern TTextChannelRec ConsoleErr;

// Flushes what is buffered, then points the channel at stream, in the
// platform's output code page.
void BindChannel(TTextChannelRec& channel, TStdStream stream);

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

// Writes CR LF and hands the buffer to the operating system.
void WriteLineEnd(TTextChannelRec& channel);

// Hands whatever is buffered to the operating system. A partial write is
// continued and an interrupted one retried; an error, or a write that makes
// no progress, ends the run with the failure report and exit code 217.
void FlushChannel(TTextChannelRec& channel);
