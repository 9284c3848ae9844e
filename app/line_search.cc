#include "app/line_search.h"

#include <cstring>
#include <memory>

#include "app/result_line.h"
#include "core/console.h"
#include "core/exit_code.h"
#include "core/params.h"
#include "platform/platform.h"
#include "text/ascii.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace {

// Bytes asked for at each read.
constexpr size_t ReadSize = 256 * 1024;

// The input not yet taken as lines: Data[Start, End).
struct TInputRec {
  std::unique_ptr<char[]> Data;
  size_t Capacity = 0;
  size_t Start = 0, End = 0;
  bool AtEnd = false;
  uint32_t CodePage = 0;  // of the bytes, when not Utf16
  bool Utf16 = false;     // UTF-16LE, by its byte-order mark
};

// Reads more input after what is held, moving that to the front first;
// false at the end of the input. Whatever output is ready goes to the
// operating system before the read, which may wait: a caller that feeds
// one line and waits for its answer gets it.
bool ReadMore(TInputRec& in, TTextChannelRec& out) {
  if (in.AtEnd) return false;
  FlushChannel(out);
  if (in.Start > 0) {
    std::memmove(in.Data.get(), in.Data.get() + in.Start, in.End - in.Start);
    in.End -= in.Start;
    in.Start = 0;
  }
  if (in.Capacity - in.End < ReadSize) {
    // Only a line longer than what is held makes it grow.
    const size_t capacity = in.Capacity == 0 ? 2 * ReadSize : 2 * in.Capacity;
    std::unique_ptr<char[]> data(new char[capacity]);
    if (in.End > 0) std::memcpy(data.get(), in.Data.get(), in.End);
    in.Data = std::move(data);
    in.Capacity = capacity;
  }
  const size_t n = ReadStandardInput(in.Data.get() + in.End, ReadSize);
  in.End += n;
  in.AtEnd = n == 0;
  return n > 0;
}

// The next line's bytes, without its line end; false when the input holds
// no more lines. UTF-16LE lines end at the unit LF (0A 00), bytes at LF.
bool NextLine(TInputRec& in, TTextChannelRec& out, std::string_view& line) {
  size_t scanned = in.Start;  // where the search for the line end goes on
  for (;;) {
    const char* data = in.Data.get();
    while (scanned < in.End) {
      const void* at = std::memchr(data + scanned, '\n', in.End - scanned);
      if (!at) {
        scanned = in.End;
        break;
      }
      const size_t lf = static_cast<size_t>(static_cast<const char*>(at) - data);
      if (!in.Utf16) {
        const size_t end = lf > in.Start && data[lf - 1] == '\r' ? lf - 1 : lf;
        line = std::string_view(data + in.Start, end - in.Start);
        in.Start = lf + 1;
        return true;
      }
      if ((lf - in.Start) % 2 == 0 && lf + 1 < in.End && data[lf + 1] == 0) {
        const size_t end = lf >= in.Start + 2 && data[lf - 2] == '\r' && data[lf - 1] == 0 ? lf - 2 : lf;
        line = std::string_view(data + in.Start, end - in.Start);
        in.Start = lf + 2;
        return true;
      }
      if ((lf - in.Start) % 2 == 0 && lf + 1 == in.End && !in.AtEnd) break;  // its second byte is to come
      scanned = lf + 1;
    }
    const size_t offset = scanned - in.Start;
    if (!ReadMore(in, out)) break;
    scanned = in.Start + offset;
  }
  if (in.Start == in.End) return false;
  line = std::string_view(in.Data.get() + in.Start, in.End - in.Start);
  in.Start = in.End;
  return true;
}

// UTF-16LE bytes as units; an odd last byte is a byte of its own.
std::u16string Utf16LeUnits(std::string_view bytes) {
  std::u16string units(bytes.size() / 2 + bytes.size() % 2, u'\0');
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  for (size_t i = 0; i < bytes.size() / 2; ++i) units[i] = static_cast<char16_t>(b[2 * i] | b[2 * i + 1] << 8);
  if (bytes.size() % 2) units.back() = ByteEscape(b[bytes.size() - 1]);
  return units;
}

// Reads the first bytes and takes a byte-order mark for what it says.
void ReadByteOrderMark(TInputRec& in, TTextChannelRec& out) {
  while (in.End - in.Start < 3 && ReadMore(in, out)) {}
  const auto* b = reinterpret_cast<const unsigned char*>(in.Data.get() + in.Start);
  const size_t held = in.End - in.Start;
  if (held >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    in.CodePage = CodePageUtf8;
    in.Start += 3;
  } else if (held >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    in.Utf16 = true;
    in.Start += 2;
  }
}

// Writes the miss line for every whole line held before the token's next
// occurrence among the held bytes, and moves past those lines: most lines
// of a large input lack the token, and one search over many of them costs
// less than one search each. Only for an ASCII token without CR or LF,
// searched as bytes, which then never spans a line end. Returns the
// 1-based position of that occurrence in the next line, or 0 when none is
// held yet.
int32_t SkipMisses(TInputRec& in, TTextChannelRec& out, const TTokenRec<char>& token, std::string_view miss) {
  const char* data = in.Data.get();
  const int32_t hit = LocateToken(token, std::string_view(data + in.Start, in.End - in.Start));
  const size_t stop = hit > 0 ? in.Start + static_cast<size_t>(hit - 1) : in.End;
  while (const void* lf = std::memchr(data + in.Start, '\n', stop - in.Start)) {
    WriteAscii(out, miss);
    WriteLineEnd(out);
    in.Start = static_cast<size_t>(static_cast<const char*>(lf) - data) + 1;
  }
  return hit > 0 ? static_cast<int32_t>(stop - in.Start + 1) : 0;
}

}  // namespace

int32_t SearchInputLines() {
  const TSearchRulesRec rules = ReadSearchRules();
  const std::u16string token = ParamText(2);
  const TTokenRec<char16_t> wideToken = PrepareToken<char16_t>(token);
  std::string_view ascii;
  const bool tokenIsAscii = ParamAscii(2, ascii);
  const TTokenRec<char> asciiToken = PrepareToken(ascii);

  TTextChannelRec out;
  BindChannel(out, TStdStream::Output, TChannelMode::LineBlocks);
  TInputRec in;
  in.CodePage = InputCodePage();
  ReadByteOrderMark(in, out);
  // Each character a decoder makes of ASCII stands for that ASCII byte
  // alone, so an ASCII token that is not among a line's bytes is not in
  // its text either: such a line needs no decoding at all. An ASCII line
  // is searched as bytes where the output's page keeps ASCII too, as a
  // single call does.
  const bool bytesFirst = tokenIsAscii && !in.Utf16 && CodePageKeepsAscii(in.CodePage);
  const bool asciiWay = bytesFirst && CodePageKeepsAscii(out.CodePage);
  const std::string miss = "FALSE|0|0|" + std::to_string(rules.Length) + "|||";
  const uint32_t sourceCp = in.Utf16 ? CodePageUtf16 : in.CodePage;

  const bool skip = bytesFirst && !ascii.empty() && ascii.find_first_of("\r\n") == std::string_view::npos;

  bool anyFound = false;
  std::u16string text;
  std::string_view line;
  for (;;) {
    const int32_t held = skip ? SkipMisses(in, out, asciiToken, miss) : 0;
    if (!NextLine(in, out, line)) break;
    TFoundRec found;
    if (bytesFirst) found.Position = held > 0 ? held : LocateToken(asciiToken, line);
    if (bytesFirst && found.Position == 0) {
      WriteAscii(out, miss);
      WriteLineEnd(out);
      continue;
    }
    if (asciiWay && IsAsciiText(line)) {
      found.After = found.Position + static_cast<int32_t>(ascii.size());
      WriteResultLine(out, found, rules.Length,
                      TextBeforeSpan(line, found.Position, rules.Length, rules.Delimiters),
                      TextAfterSpan(line, found.After, rules.Length, rules.Delimiters));
    } else {
      text = in.Utf16 ? Utf16LeUnits(line) : NarrowToWide(line, in.CodePage);
      const std::u16string_view wide = text;
      found.Position = LocateToken(wideToken, wide);
      std::u16string_view before, after;
      if (found.Position >= 1) {
        found.After = found.Position + static_cast<int32_t>(token.size());
        before = TextBeforeSpan(wide, found.Position, rules.Length, rules.Delimiters);
        after = TextAfterSpan(wide, found.After, rules.Length, rules.Delimiters);
      }
      WriteResultLine(out, found, rules.Length, before, after, sourceCp);
    }
    anyFound = anyFound || found.Position >= 1;
  }
  FlushChannel(out);
  return anyFound ? ExitTokenFound : ExitTokenNotFound;
}
