#include "app/result_line.h"

#include <algorithm>

#include "app/length_arg.h"
#include "core/params.h"
#include "core/text_conversion.h"
#include "text/ascii.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace {

// Everything of the line up to the texts, put at out (room for 80
// bytes); returns the end.
char* PutHead(char* out, const TFoundRec& found, int32_t length) {
  const std::string_view answer = found.Position >= 1 ? "TRUE|" : "FALSE|";
  for (char c : answer) *out++ = c;
  out = PutDecimal(out, found.Position);
  *out++ = '|';
  out = PutDecimal(out, found.After);
  *out++ = '|';
  out = PutDecimal(out, length);
  *out++ = '|';
  return out;
}

// The result line of a found token whose context texts are bytes in the
// channel's page.
void WriteFoundLine(TTextChannelRec& channel, const TFoundRec& found, int32_t length, std::string_view before,
                    std::string_view after) {
  // Where the line fits, it is put straight into the channel's buffer:
  // lines in the stream mode come by the million.
  if (char* at = ChannelRoom(channel, 80 + before.size() + after.size())) {
    at = PutHead(at, found, length);
    at = std::copy(before.begin(), before.end(), at);
    *at++ = '|';
    at = std::copy(after.begin(), after.end(), at);
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

// Whether a lone U+DC80-U+DCFF means the same in the arguments and in
// texts whose units come from unitsCp: a byte escape in both, or an
// unpaired surrogate in both.
bool ArgumentsShareEscapes(uint32_t unitsCp) {
  return (ParamCodePage() == CodePageUtf16) == (unitsCp == CodePageUtf16);
}

void MakeWideToken(TPreparedSearchRec& search) {
  if (search.WideTokenMade) return;
  search.Token = ParamText(2);
  search.WideToken = PrepareToken<char16_t>(search.Token);
  search.TokenCanMatch = ArgumentsShareEscapes(search.UnitsCp) || !HoldsEscapeUnit(search.Token);
  search.WideTokenMade = true;
}

}  // namespace

void PrepareSearch(TPreparedSearchRec& search, uint32_t bytesCp, uint32_t unitsCp, uint32_t outputCp) {
  TSearchRulesRec& rules = search.Rules;
  // A length is ASCII: any other character is no digit.
  std::string_view lengthText;
  rules.Length = ParamAscii(3, lengthText) ? ConvertLength(lengthText) : 0;
  const bool sharedEscapes = ArgumentsShareEscapes(unitsCp);
  const std::u16string delimiters = ParamText(4);
  rules.Delimiters = BuildDelimiterSet(delimiters.empty() ? u" ,;"
                                       : sharedEscapes    ? delimiters
                                                          : WithoutEscapeUnits(delimiters));
  std::string_view ascii;
  const bool tokenIsAscii = ParamAscii(2, ascii);
  search.AsciiToken = PrepareToken(tokenIsAscii ? ascii : std::string_view());
  search.BytesCp = bytesCp;
  search.UnitsCp = unitsCp;
  search.TokenAsciiInBytes = tokenIsAscii && bytesCp != CodePageUtf16 && CodePageKeepsAscii(bytesCp);
  search.AsciiTextAsBytes = search.TokenAsciiInBytes && CodePageKeepsAscii(outputCp);
  char* end = PutHead(search.MissLine, TFoundRec(), rules.Length);
  *end++ = '|';
  *end++ = '|';
  search.MissLineSize = static_cast<size_t>(end - search.MissLine);
}

TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::string_view text, TTextChannelRec& channel,
                               std::u16string& decoded, int64_t knownPosition) {
  if (search.TokenAsciiInBytes) {
    TFoundRec found;
    found.Position = knownPosition > 0 ? knownPosition : LocateToken(search.AsciiToken, text);
    if (found.Position == 0) {
      WriteMissLine(search, channel);
      return found;
    }
    if (search.AsciiTextAsBytes && IsAsciiText(text)) {
      const TSearchRulesRec& rules = search.Rules;
      found.After = found.Position + static_cast<int64_t>(search.AsciiToken.Units.size());
      WriteFoundLine(channel, found, rules.Length, TextBeforeSpan(text, found.Position, rules.Length, rules.Delimiters),
                     TextAfterSpan(text, found.After, rules.Length, rules.Delimiters));
      return found;
    }
  }
  decoded = NarrowToWide(text, search.BytesCp);
  return SearchAndWriteResult(search, std::u16string_view(decoded), channel);
}

TFoundRec SearchAndWriteResult(TPreparedSearchRec& search, std::u16string_view text, TTextChannelRec& channel) {
  MakeWideToken(search);
  TFoundRec found;
  if (search.TokenCanMatch) found.Position = LocateToken(search.WideToken, text);
  if (found.Position < 1) {
    WriteMissLine(search, channel);
    return TFoundRec();
  }
  const TSearchRulesRec& rules = search.Rules;
  found.After = found.Position + static_cast<int64_t>(search.Token.size());
  // Converted before any of the line is written: when memory runs out, no
  // half line has gone out.
  const std::string before = NarrowFromWide(TextBeforeSpan(text, found.Position, rules.Length, rules.Delimiters),
                                            channel.CodePage, search.UnitsCp);
  const std::string after = NarrowFromWide(TextAfterSpan(text, found.After, rules.Length, rules.Delimiters),
                                           channel.CodePage, search.UnitsCp);
  WriteFoundLine(channel, found, rules.Length, before, after);
  return found;
}
