#include "app/result_form.h"

#include <algorithm>
#include <type_traits>

#include "app/json_text.h"
#include "core/text_conversion.h"
#include "text/utf16.h"

namespace {

// Room for the most PutLinePart puts, and for the rest of each form's head.
constexpr size_t LinePartRoom = 64;
constexpr size_t JsonHeadRoom = 160, FieldHeadRoom = 32;
// UTF-16 contexts longer than this are converted as they are written.
constexpr size_t LongContextUnits = 65536;

// Everything of the plain line up to the texts (at most LineHeadRoom
// bytes). Each fixed text is put on its own, so that its size is known
// where it is copied, and no call of memcpy copies it.
char* PutLineHead(char* out, const TFoundRec& found, int32_t length) {
  out = found.Position >= 1 ? PutText(out, "TRUE|") : PutText(out, "FALSE|");
  out = PutDecimal(out, found.Position);
  *out++ = '|';
  out = PutDecimal(out, found.After);
  *out++ = '|';
  out = PutDecimal(out, length);
  *out++ = '|';
  return out;
}

// The JSON object's keys up to the first text's value (at most 160 bytes).
char* PutJsonHead(char* out, const TFoundRec& found, int32_t length, bool prefixed, bool occurrence) {
  if (!prefixed) *out++ = '{';
  if (occurrence) {
    out = PutDecimal(PutText(out, "\"occurrence\":"), found.Occurrence);
    *out++ = ',';
  }
  out = found.Position >= 1 ? PutText(out, "\"found\":true,\"position\":")
                            : PutText(out, "\"found\":false,\"position\":");
  out = PutDecimal(out, found.Position);
  out = PutText(out, ",\"after_position\":");
  out = PutDecimal(out, found.After);
  out = PutText(out, ",\"length\":");
  out = PutDecimal(out, length);
  return PutText(out, ",\"before\":\"");
}

// The one field --field asks for, apart from the texts and the line, raw
// or as JSON (at most 30 bytes).
char* PutFieldValue(char* out, const TFoundRec& found, int32_t length, TField field, bool json) {
  switch (field) {
    case TField::Found:
      if (json) return PutText(out, found.Position >= 1 ? "true" : "false");
      return PutText(out, found.Position >= 1 ? "TRUE" : "FALSE");
    case TField::Position: return PutDecimal(out, found.Position);
    case TField::AfterPosition: return PutDecimal(out, found.After);
    case TField::Length: return PutDecimal(out, length);
    case TField::File: return out;  // put with the prefix
    case TField::Occurrence: return PutDecimal(out, found.Occurrence);
    case TField::Before:
    case TField::After: return json ? PutText(out, "\"") : out;
    default: return out;
  }
}

// Everything a result starts with, where it has more than the form's
// head: the JSON object's "{", "file" and "line" keys, or the file's name
// and "|" and the line's "N|"; and the value of --field=line or
// --field=file (at most form.PrefixRoom bytes).
[[gnu::always_inline]] inline char* PutPrefix(char* out, const TResultFormRec& form) {
  const std::string_view digits(form.LineDigits, form.LineDigitsSize);
  if (!form.NamesFile) {
    // The common case, a number alone, without the file's checks: misses
    // come by the million.
    if (form.LinePart == TLinePart::Json) {
      out = PutText(PutText(out, "{\"line\":"), digits);
      *out++ = ',';
    } else if (form.LinePart == TLinePart::Plain) {
      out = PutText(out, digits);
      *out++ = '|';
    }
    return form.Field == TField::Line ? PutText(out, digits) : out;
  }
  if (form.LinePart == TLinePart::Json) *out++ = '{';
  if (!form.FilePart.empty()) out = PutText(out, form.FilePart);
  if (form.LinePart == TLinePart::Json) {
    out = PutText(PutText(out, "\"line\":"), digits);
    *out++ = ',';
  } else if (form.LinePart == TLinePart::Plain) {
    out = PutText(out, digits);
    *out++ = '|';
  }
  if (form.Field == TField::Line) out = PutText(out, digits);
  if (form.Field == TField::File) out = PutText(out, form.FileValue);
  return out;
}

// The same in pieces, for a file's name too long for the channel.
void WritePrefix(TTextChannelRec& channel, const TResultFormRec& form) {
  const std::string_view digits(form.LineDigits, form.LineDigitsSize);
  if (form.LinePart == TLinePart::Json) WriteBytes(channel, "{");
  WriteBytes(channel, form.FilePart);
  if (form.LinePart == TLinePart::Json) {
    WriteBytes(channel, "\"line\":");
    WriteBytes(channel, digits);
    WriteBytes(channel, ",");
  } else if (form.LinePart == TLinePart::Plain) {
    WriteBytes(channel, digits);
    WriteBytes(channel, "|");
  }
  if (form.Field == TField::Line) WriteBytes(channel, digits);
  WriteBytes(channel, form.FileValue);
}

// Everything of a result up to its first text, without the line part.
// Inline where a found result is put: a call for it costs a found line a
// twentieth more.
[[gnu::always_inline]] inline char* PutResultHead(char* out, const TResultFormRec& form, const TFoundRec& found) {
  switch (form.Kind) {
    case TFormKind::Line: return PutLineHead(out, found, form.Length);
    case TFormKind::Json:
      return PutJsonHead(out, found, form.Length, form.LinePart == TLinePart::Json, form.Occurrences);
    case TFormKind::Field: return PutFieldValue(out, found, form.Length, form.Field, form.Json);
  }
  return out;
}

// A context text as the result writes it: inside a JSON string, or as its
// bytes, which are then in the channel's page.
template <typename TChar>
size_t ContextRoom(std::basic_string_view<TChar> text, bool json) {
  return json ? JsonUnitsRoom(text.size()) : text.size();
}

template <typename TChar>
char* PutContext(char* out, std::basic_string_view<TChar> text, bool json, const char* readable = nullptr) {
  if constexpr (std::is_same_v<TChar, char>) {
    return json ? PutShortJsonUnits(out, text, readable) : PutShortText(out, text, readable);
  } else {
    return PutJsonUnits(out, text);
  }
}

// Writes a context text through channel in pieces, for a result too long
// for the channel's block; UTF-16 text that is not JSON is converted from
// unitsCp a piece at a time, each ending where no surrogate pair is split.
template <typename TChar>
void WriteContext(TTextChannelRec& channel, std::basic_string_view<TChar> text, bool json, uint32_t unitsCp) {
  constexpr size_t Units = 256;
  char piece[JsonUnitsRoom(Units + 1)];
  for (size_t i = 0, size; i < text.size(); i += size) {
    size = std::min(Units, text.size() - i);
    if constexpr (std::is_same_v<TChar, char16_t>) {
      if (SplitsPairAt(text, i + size)) ++size;
      if (!json) {
        WriteBytes(channel, NarrowFromWide(text.substr(i, size), channel.CodePage, unitsCp));
        continue;
      }
    }
    WriteBytes(channel,
               std::string_view(piece, static_cast<size_t>(PutContext(piece, text.substr(i, size), json) - piece)));
  }
}

// A found result in pieces: the one way for a result too long for the
// channel's block, and for long UTF-16 contexts converted as they go.
template <typename TChar>
void WriteFrameInPieces(const TResultFormRec& form, TTextChannelRec& channel, const TFoundRec& found,
                        std::basic_string_view<TChar> before, std::basic_string_view<TChar> after) {
  if (form.Prefixed) WritePrefix(channel, form);
  char head[JsonHeadRoom];
  WriteBytes(channel, std::string_view(head, static_cast<size_t>(PutResultHead(head, form, found) - head)));
  WriteContext(channel, before, form.Json, form.UnitsCp);
  WriteBytes(channel, form.Middle);
  WriteContext(channel, after, form.Json, form.UnitsCp);
  WriteBytes(channel, form.Tail);
  WriteLineEnd(channel);
}

// A found result with its texts: straight into the channel's buffer where
// it has room, else in pieces (the one way for a result too long for it).
template <typename TChar>
[[gnu::always_inline]] inline void WriteFrame(const TResultFormRec& form, TTextChannelRec& channel,
                                              const TFoundRec& found, std::basic_string_view<TChar> before,
                                              std::basic_string_view<TChar> after) {
  // Sixteen bytes for a short context copied whole, two for the line end.
  const size_t room = form.HeadRoom + form.Middle.size() + form.Tail.size() + ContextRoom(before, form.Json) +
                      ContextRoom(after, form.Json) + 16 + 2;
  if (char* at = ChannelRoom(channel, room)) {
    if (form.Prefixed) at = PutPrefix(at, form);
    at = PutContext(PutResultHead(at, form, found), before, form.Json, found.BytesEnd);
    at = PutText(PutContext(PutText(at, form.Middle), after, form.Json, found.BytesEnd), form.Tail);
    TakeLines(channel, PutLineEnd(channel, at));
  } else {
    WriteFrameInPieces(form, channel, found, before, after);
  }
}

}  // namespace

void PrepareResultForm(TResultFormRec& form, const TSwitchesRec& switches, int32_t length, uint32_t unitsCp,
                       TTextChannelRec& channel, const std::u16string* fileName, uint32_t nameEscapesCp) {
  form.Field = switches.Field;
  form.Json = switches.Json;
  form.FoundOnly = switches.FoundOnly;
  form.Length = length;
  form.UnitsCp = unitsCp;
  form.Occurrences = switches.All || switches.Occurrence != 0;
  if (switches.Field != TField::None) {
    form.Kind = TFormKind::Field;
    form.HasBefore = switches.Field == TField::Before;
    form.HasAfter = switches.Field == TField::After;
    form.Tail = switches.Json && (form.HasBefore || form.HasAfter) ? "\"" : "";
  } else if (switches.Json) {
    form.Kind = TFormKind::Json;
    form.Middle = "\",\"after\":\"";
    form.Tail = "\"}";
  } else {
    form.Kind = TFormKind::Line;
    form.Middle = "|";
    form.Tail = "|";
  }
  const bool lines = switches.Lines || switches.Files;
  form.LinePart = switches.Json && switches.Field == TField::None && (lines || switches.LineNumber) ? TLinePart::Json
                  : switches.LineNumber                                                             ? TLinePart::Plain
                                                                                                    : TLinePart::None;
  form.Numbered = form.LinePart != TLinePart::None || switches.Field == TField::Line;
  // The file's name as a JSON string, or its bytes in the channel's page.
  std::string name;
  if (fileName && (form.LinePart == TLinePart::Json || switches.Json)) {
    name.resize(JsonUnitsRoom(fileName->size()));
    name.resize(static_cast<size_t>(PutJsonUnits(name.data(), *fileName) - name.data()));
  } else if (fileName) {
    name = NarrowFromWide(*fileName, channel.CodePage, nameEscapesCp);
  }
  if (fileName && form.LinePart == TLinePart::Json)
    form.FilePart = "\"file\":\"" + name + "\",";
  else if (fileName && switches.Field != TField::File)
    form.FilePart = name + "|";
  if (switches.Field == TField::File) form.FileValue = switches.Json ? "\"" + name + "\"" : name;
  form.NamesFile = !form.FilePart.empty() || switches.Field == TField::File;
  form.Prefixed = form.Numbered || form.NamesFile;
  form.Plain = form.Kind == TFormKind::Line && !form.Numbered;
  form.PrefixRoom = LinePartRoom + form.FilePart.size() + form.FileValue.size();
  form.HeadRoom = (form.Prefixed ? form.PrefixRoom : 0) + (form.Kind == TFormKind::Line   ? LineHeadRoom
                                                           : form.Kind == TFormKind::Json ? JsonHeadRoom
                                                                                          : FieldHeadRoom);
  if (form.Numbered)
    form.LineDigitsSize = static_cast<size_t>(PutDecimal(form.LineDigits, switches.FirstLine) - form.LineDigits);
  // A miss's result after its prefix.
  char* end = PutResultHead(form.MissLine, form, TFoundRec());
  end = PutText(PutText(end, form.Middle), form.Tail);
  form.MissLineSize = static_cast<size_t>(end - form.MissLine);
  channel.LfLineEnds = LinesEndInLf(switches);
  form.MissEndedSize = static_cast<size_t>(
      PutLineEnd(channel, PutText(form.MissEnded, std::string_view(form.MissLine, form.MissLineSize))) -
      form.MissEnded);
  form.LineNumber = switches.FirstLine;
  char* lengthEnd = PutDecimal(form.LengthPart, length);
  *lengthEnd++ = '|';
  form.LengthPartSize = static_cast<size_t>(lengthEnd - form.LengthPart);
}

void CountLines(TResultFormRec& form, size_t count) {
  if (!form.Numbered || count == 0) return;
  form.LineNumber += static_cast<int64_t>(count);
  form.LineDigitsSize = static_cast<size_t>(PutDecimal(form.LineDigits, form.LineNumber) - form.LineDigits);
}

void WriteFramedFound(TResultFormRec& form, TTextChannelRec& channel, const TFoundRec& found) {
  if (!found.Wide) {
    WriteFrame(form, channel, found, form.HasBefore ? found.BeforeBytes : std::string_view(),
               form.HasAfter ? found.AfterBytes : std::string_view());
    return;
  }
  const std::u16string_view before = form.HasBefore ? found.BeforeUnits : std::u16string_view();
  const std::u16string_view after = form.HasAfter ? found.AfterUnits : std::u16string_view();
  if (form.Json) {
    WriteFrame(form, channel, found, before, after);
    return;
  }
  if (before.size() + after.size() > LongContextUnits) {
    // No copy of a long context in the channel's page.
    WriteFrameInPieces(form, channel, found, before, after);
    return;
  }
  form.BeforeOut = NarrowFromWide(before, channel.CodePage, form.UnitsCp);
  form.AfterOut = NarrowFromWide(after, channel.CodePage, form.UnitsCp);
  WriteFrame(form, channel, found, std::string_view(form.BeforeOut), std::string_view(form.AfterOut));
}

void WritePrefixedMisses(TResultFormRec& form, TTextChannelRec& channel, size_t count) {
  constexpr size_t Lines = 16;  // lines put at once: fewer than a 4 KiB block holds
  const size_t size = form.MissEndedSize;
  while (count > 0) {
    const size_t n = count < Lines ? count : Lines;
    // The miss, line end included, is copied sixteen bytes at a time: its
    // record holds zeros to a whole number of them.
    char* at = ChannelRoom(channel, n * (form.PrefixRoom + size) + 16);
    if (!at) {
      WritePrefixedMiss(form, channel);
      CountLine(form);
      --count;
      continue;
    }
    for (size_t i = 0; i < n; ++i) {
      at = PutPrefix(at, form);
      for (size_t k = 0; k < size; k += 16) std::memcpy(at + k, form.MissEnded + k, 16);
      at += size;
      CountLine(form);
    }
    TakeLines(channel, at);
    count -= n;
  }
}

void WritePrefixedMiss(const TResultFormRec& form, TTextChannelRec& channel) {
  const std::string_view miss(form.MissLine, form.MissLineSize);
  if (char* at = ChannelRoom(channel, form.PrefixRoom + miss.size() + 2)) {
    TakeLines(channel, PutLineEnd(channel, PutText(PutPrefix(at, form), miss)));
    return;
  }
  WritePrefix(channel, form);
  WriteBytes(channel, miss);
  WriteLineEnd(channel);
}
