#include "app/result_line.h"

#include <type_traits>

#include "app/json_text.h"
#include "app/length_arg.h"
#include "core/params.h"
#include "core/text_conversion.h"
#include "text/ascii.h"
#include "text/case_fold.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace {

// Everything of the plain line up to the texts, put at out (room for 80
// bytes); returns the end.
char* PutHead(char* out, const TFoundRec& found, int32_t length) {
  out = PutText(out, found.Position >= 1 ? "TRUE|" : "FALSE|");
  out = PutDecimal(out, found.Position);
  *out++ = '|';
  out = PutDecimal(out, found.After);
  *out++ = '|';
  out = PutDecimal(out, length);
  *out++ = '|';
  return out;
}

// The JSON object's keys up to the texts' values (room for 120 bytes).
char* PutJsonHead(char* out, const TFoundRec& found, int32_t length, bool lineKeyWritten) {
  if (!lineKeyWritten) *out++ = '{';
  out = PutText(out, found.Position >= 1 ? "\"found\":true,\"position\":" : "\"found\":false,\"position\":");
  out = PutDecimal(out, found.Position);
  out = PutText(out, ",\"after_position\":");
  out = PutDecimal(out, found.After);
  out = PutText(out, ",\"length\":");
  out = PutDecimal(out, length);
  return out;
}

// The one field --field asks for, apart from the texts and the line,
// raw or as JSON (room for 30 bytes).
char* PutFieldValue(char* out, const TFoundRec& found, int32_t length, TField field, bool json) {
  switch (field) {
    case TField::Found:
      if (json) return PutText(out, found.Position >= 1 ? "true" : "false");
      return PutText(out, found.Position >= 1 ? "TRUE" : "FALSE");
    case TField::Position: return PutDecimal(out, found.Position);
    case TField::AfterPosition: return PutDecimal(out, found.After);
    case TField::Length: return PutDecimal(out, length);
    default: return out;
  }
}

// The result line of a found token whose context texts are bytes in the
// channel's page.
void WriteFoundLine(TTextChannelRec& channel, const TFoundRec& found, int32_t length, std::string_view before,
                    std::string_view after) {
  // Where the line fits, it is put straight into the channel's buffer:
  // lines in the stream mode come by the million.
  if (char* at = ChannelRoom(channel, 80 + before.size() + after.size())) {
    at = PutHead(at, found, length);
    at = PutText(at, before);
    *at++ = '|';
    at = PutText(at, after);
    *at++ = '|';
    TakeRoom(channel, at);
    WriteLineEnd(channel);
    return;
  }
  char head[80];
  WriteAscii(channel, std::string_view(head, static_cast<size_t>(PutHead(head, found, length) - head)));
  WriteAscii(channel, before);
  WriteAscii(channel, "|");
  WriteAscii(channel, after);
  WriteAscii(channel, "|");
  WriteLineEnd(channel);
}

// Room for the most PutLinePart puts.
constexpr size_t LinePartRoom = 64;

// The line number where the result wants it: "N|" before it, the JSON
// object's first key, and the value of --field=line.
char* PutLinePart(char* out, const TPreparedSearchRec& search) {
  const std::string_view digits(search.LineDigits, search.LineDigitsSize);
  if (search.LinePart == TLinePart::Json) {
    out = PutText(PutText(out, "{\"line\":"), digits);
    *out++ = ',';
  } else if (search.LinePart == TLinePart::Plain) {
    out = PutText(out, digits);
    *out++ = '|';
  }
  if (search.Switches.Field == TField::Line) out = PutText(out, digits);
  return out;
}

// A context text as the result writes it: inside a JSON string, or as its
// bytes, which are then in the channel's page.
template <typename TChar>
size_t ContextRoom(std::basic_string_view<TChar> text, bool json) {
  return json ? JsonUnitsRoom(text.size()) : text.size();
}

template <typename TChar>
char* PutContext(char* out, std::basic_string_view<TChar> text, bool json) {
  if constexpr (std::is_same_v<TChar, char>) {
    if (!json) return PutText(out, text);
  }
  return PutJsonUnits(out, text);
}

// Writes a context text through channel in pieces, for a result too long
// for the channel's buffer.
template <typename TChar>
void WriteContext(TTextChannelRec& channel, std::basic_string_view<TChar> text, bool json) {
  constexpr size_t Units = 256;
  char piece[JsonUnitsRoom(Units)];
  for (size_t i = 0; i < text.size(); i += Units) {
    const std::basic_string_view<TChar> part = text.substr(i, Units);
    WriteAscii(channel, std::string_view(piece, static_cast<size_t>(PutContext(piece, part, json) - piece)));
  }
}

// A result in the form the switches ask for: the ASCII around the
// contexts, and which contexts it holds.
struct TResultFrameRec {
  char Head[LinePartRoom + 160];
  size_t HeadSize = 0;
  std::string_view Middle, Tail;  // after the first context, after the second
  bool Before = false, After = false;
  bool Json = false;  // the contexts go inside JSON strings
};

// A miss's result is framed once, without its line part, which changes
// from line to line.
void FrameResult(TResultFrameRec& frame, const TPreparedSearchRec& search, const TFoundRec& found, bool linePart) {
  const TSwitchesRec& s = search.Switches;
  char* end = linePart ? PutLinePart(frame.Head, search) : frame.Head;
  frame.Json = s.Json;
  if (s.Field != TField::None) {
    end = PutFieldValue(end, found, search.Rules.Length, s.Field, s.Json);
    frame.Before = s.Field == TField::Before;
    frame.After = s.Field == TField::After;
    if (s.Json && (frame.Before || frame.After)) {
      *end++ = '"';
      frame.Tail = "\"";
    }
  } else if (s.Json) {
    end = PutText(PutJsonHead(end, found, search.Rules.Length, search.LinePart == TLinePart::Json), ",\"before\":\"");
    frame.Middle = "\",\"after\":\"";
    frame.Tail = "\"}";
    frame.Before = frame.After = true;
  } else {
    end = PutHead(end, found, search.Rules.Length);
    frame.Middle = "|";
    frame.Tail = "|";
    frame.Before = frame.After = true;
  }
  frame.HeadSize = static_cast<size_t>(end - frame.Head);
}

// The result of a found token in the form the switches ask for; before and
// after are bytes in the channel's page, or for --json ASCII or UTF-16
// texts. The plain line has a writer of its own (WriteFoundLine): framed
// here, a found line in the stream mode would cost a sixth more.
template <typename TChar>
void WriteFoundResult(const TPreparedSearchRec& search, TTextChannelRec& channel, const TFoundRec& found,
                      std::basic_string_view<TChar> before, std::basic_string_view<TChar> after) {
  TResultFrameRec frame;
  FrameResult(frame, search, found, true);
  if (!frame.Before) before = {};
  if (!frame.After) after = {};
  const std::string_view head(frame.Head, frame.HeadSize);
  // Put straight into the channel's buffer where it fits, as the plain
  // line is.
  const size_t room = head.size() + frame.Middle.size() + frame.Tail.size() + ContextRoom(before, frame.Json) +
                      ContextRoom(after, frame.Json);
  if (char* at = ChannelRoom(channel, room)) {
    at = PutContext(PutText(at, head), before, frame.Json);
    at = PutContext(PutText(at, frame.Middle), after, frame.Json);
    TakeRoom(channel, PutText(at, frame.Tail));
  } else {
    WriteAscii(channel, head);
    WriteContext(channel, before, frame.Json);
    WriteAscii(channel, frame.Middle);
    WriteContext(channel, after, frame.Json);
    WriteAscii(channel, frame.Tail);
  }
  WriteLineEnd(channel);
}

// Whether a lone U+DC80-U+DCFF means the same in the arguments and in
// texts whose units come from unitsCp: a byte escape in both, or an
// unpaired surrogate in both.
bool ArgumentsShareEscapes(uint32_t unitsCp) {
  return (ParamCodePage() == CodePageUtf16) == (unitsCp == CodePageUtf16);
}

void MakeWideToken(TPreparedSearchRec& search) {
  if (search.WideTokenMade) return;
  search.Token = ParamText(search.TokenIndex);
  if (search.Switches.IgnoreCase) {
    search.FoldedToken = search.Token;
    FoldCaseUtf16(search.FoldedToken);
  }
  search.WideToken = PrepareToken<char16_t>(search.Switches.IgnoreCase ? search.FoldedToken : search.Token);
  search.TokenCanMatch = ArgumentsShareEscapes(search.UnitsCp) || !HoldsEscapeUnit(search.Token);
  search.WideTokenMade = true;
}

// The result of a text without the token, after the line part.
size_t PutMissLine(char* out, const TPreparedSearchRec& search) {
  TResultFrameRec frame;
  FrameResult(frame, search, TFoundRec(), false);
  char* end = PutText(out, std::string_view(frame.Head, frame.HeadSize));
  return static_cast<size_t>(PutText(PutText(end, frame.Middle), frame.Tail) - out);
}

}  // namespace

void WriteNumberedMissLine(const TPreparedSearchRec& search, TTextChannelRec& channel) {
  const std::string_view miss(search.MissLine, search.MissLineSize);
  char* at = ChannelRoom(channel, LinePartRoom + miss.size());
  char part[LinePartRoom];
  char* end = PutLinePart(at ? at : part, search);
  if (at) {
    TakeRoom(channel, PutText(end, miss));
  } else {
    WriteAscii(channel, std::string_view(part, static_cast<size_t>(end - part)));
    WriteAscii(channel, miss);
  }
  WriteLineEnd(channel);
}

void PrepareSearch(TPreparedSearchRec& search, const TSwitchesRec& switches, uint32_t bytesCp, uint32_t unitsCp,
                   TTextChannelRec& channel) {
  search.Switches = switches;
  search.TokenIndex = switches.Lines ? switches.DataStart : switches.DataStart + 1;
  TSearchRulesRec& rules = search.Rules;
  // A length is ASCII: any other character is no digit.
  std::string_view lengthText;
  rules.Length = ParamAscii(search.TokenIndex + 1, lengthText) ? ConvertLength(lengthText) : 0;
  const bool sharedEscapes = ArgumentsShareEscapes(unitsCp);
  const std::u16string delimiters = ParamText(search.TokenIndex + 2);
  rules.Delimiters = BuildDelimiterSet(delimiters.empty() ? u" ,;"
                                       : sharedEscapes    ? delimiters
                                                          : WithoutEscapeUnits(delimiters));
  std::string_view ascii;
  const bool tokenIsAscii = ParamAscii(search.TokenIndex, ascii);
  if (!tokenIsAscii) ascii = {};
  if (switches.IgnoreCase) {
    // Folded into a copy; otherwise the argument itself, which may be as
    // long as the text.
    search.AsciiTokenText = ascii;
    FoldCaseAscii(search.AsciiTokenText);
    ascii = search.AsciiTokenText;
  }
  search.AsciiToken = PrepareToken(ascii);
  search.BytesCp = bytesCp;
  search.UnitsCp = unitsCp;
  search.TokenAsciiInBytes = tokenIsAscii && bytesCp != CodePageUtf16 && CodePageKeepsAscii(bytesCp);
  search.AsciiTextAsBytes = search.TokenAsciiInBytes && CodePageKeepsAscii(channel.CodePage);
  search.LinePart = switches.Json && switches.Field == TField::None && (switches.Lines || switches.LineNumber)
                        ? TLinePart::Json
                    : switches.LineNumber ? TLinePart::Plain
                                          : TLinePart::None;
  search.NumberedLines = search.LinePart != TLinePart::None || switches.Field == TField::Line;
  if (search.NumberedLines) {
    search.LineDigitsSize = static_cast<size_t>(PutDecimal(search.LineDigits, switches.FirstLine) - search.LineDigits);
  }
  search.MissLineSize = PutMissLine(search.MissLine, search);
  channel.LfLineEnds = LinesEndInLf(switches);
}

TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::string_view text, TTextChannelRec& channel,
                               std::u16string& decoded, int64_t knownPosition) {
  // Folding keeps ASCII within ASCII, but other characters fold into it
  // (the Kelvin sign to "k"): only an ASCII text is searched folded as
  // bytes.
  const bool asBytes = search.TokenAsciiInBytes && (!search.Switches.IgnoreCase || IsAsciiText(text));
  if (asBytes) {
    std::string_view haystack = text;
    if (search.Switches.IgnoreCase) {
      search.Folded.assign(text);
      FoldCaseAscii(search.Folded);
      haystack = search.Folded;
    }
    TFoundRec found;
    found.Position = knownPosition > 0 ? knownPosition : LocateToken(search.AsciiToken, haystack);
    if (found.Position == 0) {
      WriteMissLine(search, channel);
      return found;
    }
    if (search.AsciiTextAsBytes && IsAsciiText(text)) {
      const TSearchRulesRec& rules = search.Rules;
      found.After = found.Position + static_cast<int64_t>(search.AsciiToken.Units.size());
      const std::string_view before = TextBeforeSpan(text, found.Position, rules.Length, rules.Delimiters);
      const std::string_view after = TextAfterSpan(text, found.After, rules.Length, rules.Delimiters);
      if (PlainResults(search.Switches))
        WriteFoundLine(channel, found, rules.Length, before, after);
      else
        WriteFoundResult(search, channel, found, before, after);
      return found;
    }
  }
  decoded = NarrowToWide(text, search.BytesCp);
  return SearchAndWriteResult(search, std::u16string_view(decoded), channel);
}

TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::u16string_view text, TTextChannelRec& channel) {
  MakeWideToken(search);
  std::u16string_view haystack = text;
  if (search.Switches.IgnoreCase) {
    search.WideFolded.assign(text);
    FoldCaseUtf16(search.WideFolded);
    haystack = search.WideFolded;
  }
  int64_t position = 0;
  if (search.TokenCanMatch) position = LocateToken(search.WideToken, haystack);
  if (position < 1) {
    WriteMissLine(search, channel);
    return TFoundRec();
  }
  const TSearchRulesRec& rules = search.Rules;
  const int64_t after = position + static_cast<int64_t>(search.Token.size());
  const TUnitCountRec count{search.Switches.Units, search.BytesCp, search.UnitsCp};
  const std::u16string_view before = TextBeforeSpanIn(count, text, position, rules.Length, rules.Delimiters);
  const std::u16string_view behind = TextAfterSpanIn(count, text, after, rules.Length, rules.Delimiters);
  TFoundRec found;
  found.Position = position;
  found.After = after;
  if (count.Units != TUnits::Utf16) {
    found.Position = 1 + CountUnits(count, text.substr(0, static_cast<size_t>(position - 1)));
    found.After = found.Position + CountUnits(count, text.substr(static_cast<size_t>(position - 1),
                                                                 static_cast<size_t>(after - position)));
  }
  if (search.Switches.Json) {
    WriteFoundResult(search, channel, found, before, behind);
    return found;
  }
  // Converted before any of the line is written: when memory runs out, no
  // half line has gone out.
  search.BeforeOut = NarrowFromWide(before, channel.CodePage, search.UnitsCp);
  search.AfterOut = NarrowFromWide(behind, channel.CodePage, search.UnitsCp);
  const std::string_view beforeOut = search.BeforeOut, afterOut = search.AfterOut;
  if (PlainResults(search.Switches))
    WriteFoundLine(channel, found, rules.Length, beforeOut, afterOut);
  else
    WriteFoundResult(search, channel, found, beforeOut, afterOut);
  return found;
}
