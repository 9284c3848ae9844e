// Results in the form the switches ask for: the plain line (numbered or
// not), JSON, or one field. The form is made ready once; then a found
// result and a run of misses each have one writer, which holds its own
// fast path. Nothing else chooses a form or writes a result's bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/found.h"
#include "app/switches.h"
#include "core/console.h"
#include "core/line_input.h"

// How a result is framed.
enum class TFormKind : uint8_t {
  Line,  // the six fields, each followed by "|"
  Json,  // one JSON object
  Field  // one field's value
};

// Where a result's line number goes.
enum class TLinePart : uint8_t {
  None,
  Plain,  // "N|" before the result
  Json,   // the object's first key, "line"
};

struct TResultFormRec {
  TFormKind Kind = TFormKind::Line;
  TField Field = TField::None;
  bool Json = false;         // the contexts go inside JSON strings
  bool FoundOnly = false;    // a miss writes nothing
  int32_t Length = 0;        // the length as read, which every result repeats
  bool Occurrences = false;  // JSON says which occurrence a result is
  TLinePart LinePart = TLinePart::None;
  bool Numbered = false;  // a result holds its line's number
  // What a result starts with: the JSON object's "{" and "file" key, or a
  // file's name and "|"; with the line number, its prefix.
  std::string FilePart;
  std::string FileValue;   // --field=file: the name, raw or as JSON
  bool NamesFile = false;  // a result holds the file's name
  bool Prefixed = false;   // a result starts with the file part or a number
  size_t PrefixRoom = 0;   // the most that start takes
  bool Plain = true;       // the line as it has always been (a file's name before it)
  char LineDigits[24];     // that number, where Numbered
  size_t LineDigitsSize = 0;
  int64_t LineNumber = 0;  // the same as a number
  // A found result: its head (made per result, at most HeadRoom bytes with
  // its line part), then the contexts it holds with Middle between them and
  // Tail after them.
  size_t HeadRoom = 0;
  bool HasBefore = true, HasAfter = true;
  std::string_view Middle, Tail;
  // A miss's result after its line part, less the line end, and with it
  // (the 32 bytes after that are copied with it, so they are zero).
  char MissLine[160];
  size_t MissLineSize = 0;
  char MissEnded[192] = {};
  char LengthPart[16] = {};  // the length and "|", as every plain result repeats them
  size_t LengthPartSize = 0;
  size_t MissEndedSize = 0;
  uint32_t UnitsCp = 0;  // the page the byte escapes of UTF-16 contexts come from
  // Room kept from result to result: contexts in the channel's page.
  std::string BeforeOut, AfterOut;
};

// Makes the form ready for results written through channel, a WholeLine or
// LineBlocks channel, whose line ends it sets (LinesEndInLf); length is
// the length as read, and UTF-16 contexts come from unitsCp. The first
// line's number is the switches' --first-line. With fileName, every result
// names that file (its byte escapes from nameEscapesCp).
void PrepareResultForm(TResultFormRec& form, const TSwitchesRec& switches, int32_t length, uint32_t unitsCp,
                       TTextChannelRec& channel, const std::u16string* fileName = nullptr, uint32_t nameEscapesCp = 0);

// Writes a found result in every form but WriteFound's own. Its texts are
// converted before any of it is written, so that when memory runs out no
// half line has gone out; only contexts of more than 64 Ki units are
// converted as they are written, which keeps no copy of them (a line cut
// by lack of memory then is dropped from the output, as every line in
// pieces is).
void WriteFramedFound(TResultFormRec& form, TTextChannelRec& channel, const TFoundRec& found);

// Room for everything of the plain line up to its texts.
constexpr size_t LineHeadRoom = 80;

// Writes a found result. The plain line of ASCII texts, the common case
// with --lines and --files, is put here, inline: it asks nothing more of
// the form, and framed, it would cost a tenth more.
inline void WriteFound(TResultFormRec& form, TTextChannelRec& channel, const TFoundRec& found) {
  if (!found.Wide && form.Plain) {
    const size_t room =
        form.FilePart.size() + LineHeadRoom + 4 + found.BeforeBytes.size() + found.AfterBytes.size() + 16;
    if (char* at = ChannelRoom(channel, room)) {
      if (form.NamesFile) at = PutText(at, form.FilePart);
      at = PutText(at, "TRUE|");
      at = PutDecimal(at, found.Position);
      *at++ = '|';
      at = PutDecimal(at, found.After);
      *at++ = '|';
      std::memcpy(at, form.LengthPart, sizeof form.LengthPart);
      at = PutShortText(at + form.LengthPartSize, found.BeforeBytes, found.BytesEnd);
      *at++ = '|';
      at = PutShortText(at, found.AfterBytes, found.BytesEnd);
      *at++ = '|';
      TakeLines(channel, PutLineEnd(channel, at));
      return;
    }
  }
  WriteFramedFound(form, channel, found);
}

// Writes a miss that starts with a file part or a number (see WriteMiss).
void WritePrefixedMiss(const TResultFormRec& form, TTextChannelRec& channel);

// Writes count misses that start with a file part or a number, each
// counted, a few lines put at once.
void WritePrefixedMisses(TResultFormRec& form, TTextChannelRec& channel, size_t count);

// Writes the result of a text without the token, unless only found
// results are wanted. Inline: misses come by the million with --lines.
inline void WriteMiss(const TResultFormRec& form, TTextChannelRec& channel) {
  if (form.FoundOnly) return;
  if (form.Prefixed) {
    WritePrefixedMiss(form, channel);
    return;
  }
  WriteBytes(channel, std::string_view(form.MissLine, form.MissLineSize));
  WriteLineEnd(channel);
}

// Writes the result of one search, found or not.
inline void WriteResult(TResultFormRec& form, TTextChannelRec& channel, const TFoundRec& found) {
  if (found.Position >= 1)
    WriteFound(form, channel, found);
  else
    WriteMiss(form, channel);
}

// Moves on to the next line: counts up its number where results hold it.
inline void CountLine(TResultFormRec& form) {
  if (!form.Numbered) return;
  ++form.LineNumber;
  // The digits are counted up where they stand: numbers come by the
  // million with --lines.
  char* digits = form.LineDigits;
  size_t i = form.LineDigitsSize;
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i > 0) {
    ++digits[i - 1];
    return;
  }
  std::memmove(digits + 1, digits, form.LineDigitsSize++);
  digits[0] = '1';
}

// Moves on by count lines at once.
void CountLines(TResultFormRec& form, size_t count);

// Writes count misses that start with nothing, whole lines copied at once.
// Inline: a run comes before most lines that hold the token.
inline void WriteMissRun(const TResultFormRec& form, TTextChannelRec& channel, size_t count) {
  constexpr size_t Copy = 32;   // a short miss is copied whole with this many bytes
  constexpr size_t Lines = 64;  // lines put at once: fewer than a 4 KiB block holds
  const size_t size = form.MissEndedSize;
  while (count > 0) {
    const size_t n = count < Lines ? count : Lines;
    char* at = ChannelRoom(channel, n * size + Copy);
    if (!at) {
      WriteBytes(channel, std::string_view(form.MissLine, form.MissLineSize));
      WriteLineEnd(channel);
      --count;
      continue;
    }
    if (size <= Copy) {
      for (size_t i = 0; i < n; ++i, at += size) std::memcpy(at, form.MissEnded, Copy);
    } else {
      for (size_t i = 0; i < n; ++i) at = PutText(at, std::string_view(form.MissEnded, size));
    }
    TakeLines(channel, at);
    count -= n;
  }
}

// Writes the misses of count lines known to lack the token, and counts
// them. Inline: a run comes before most lines that hold the token.
inline void WriteMisses(TResultFormRec& form, TTextChannelRec& channel, size_t count) {
  if (!form.FoundOnly && form.Prefixed) {
    WritePrefixedMisses(form, channel, count);
    return;
  }
  if (count == 0) return;
  if (!form.FoundOnly) WriteMissRun(form, channel, count);
  if (form.Numbered) CountLines(form, count);
}
