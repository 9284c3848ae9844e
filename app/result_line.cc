#include "app/result_line.h"

#include <algorithm>

#include "app/length_arg.h"
#include "core/params.h"
#include "core/text_conversion.h"
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

void WriteHead(TTextChannelRec& channel, const TFoundRec& found, int32_t length) {
  char head[80];
  WriteAscii(channel, std::string_view(head, static_cast<size_t>(PutHead(head, found, length) - head)));
}

void WriteTail(TTextChannelRec& channel) {
  WriteAscii(channel, "|");
  WriteLineEnd(channel);
}

}  // namespace

namespace {

// Whether a lone U+DC80-U+DCFF means the same in the arguments and in
// texts from textCp.
bool ArgumentsShareEscapes(uint32_t textCp) {
  return (ParamCodePage() == CodePageUtf16) == (textCp == CodePageUtf16);
}

}  // namespace

TSearchRulesRec ReadSearchRules(uint32_t textCp) {
  TSearchRulesRec rules;
  // A length is ASCII: any other character is no digit.
  std::string_view lengthText;
  rules.Length = ParamAscii(3, lengthText) ? ConvertLength(lengthText) : 0;
  std::u16string delimiters = ParamText(4);
  if (!ArgumentsShareEscapes(textCp)) delimiters = WithoutEscapeUnits(delimiters);
  rules.Delimiters = BuildDelimiterSet(ParamText(4).empty() ? u" ,;" : delimiters);
  return rules;
}

bool TokenCanMatchText(std::u16string_view token, uint32_t textCp) {
  return ArgumentsShareEscapes(textCp) || !HoldsEscapeUnit(token);
}

template <typename TChar>
TFoundRec SearchAndExtract(std::basic_string_view<TChar> text, std::basic_string_view<TChar> token,
                           const TSearchRulesRec& rules, std::basic_string<TChar>& before,
                           std::basic_string<TChar>& after) {
  TFoundRec found;
  found.Position = LocateToken(token, text);
  before.clear();
  after.clear();
  if (found.Position < 1) return found;
  found.After = found.Position + static_cast<int64_t>(token.size());
  before = TextBeforeToken(text, found.Position, rules.Length, rules.Delimiters);
  after = TextAfterToken(text, found.After, rules.Length, rules.Delimiters);
  return found;
}

// For both unit types.
template TFoundRec SearchAndExtract(std::string_view, std::string_view, const TSearchRulesRec&, std::string&,
                                    std::string&);
template TFoundRec SearchAndExtract(std::u16string_view, std::u16string_view, const TSearchRulesRec&,
                                    std::u16string&, std::u16string&);

void WriteResultLine(TTextChannelRec& channel, const TFoundRec& found, int32_t length, std::string_view before,
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
  WriteHead(channel, found, length);
  WriteAscii(channel, before);
  WriteAscii(channel, "|");
  WriteAscii(channel, after);
  WriteTail(channel);
}

void WriteResultLine(TTextChannelRec& channel, const TFoundRec& found, int32_t length, std::u16string_view before,
                     std::u16string_view after, uint32_t sourceCp) {
  // Converted first: when memory runs out, no half line has gone out.
  const std::string beforeBytes = NarrowFromWide(before, channel.CodePage, sourceCp);
  const std::string afterBytes = NarrowFromWide(after, channel.CodePage, sourceCp);
  WriteHead(channel, found, length);
  WriteAscii(channel, beforeBytes);
  WriteAscii(channel, "|");
  WriteAscii(channel, afterBytes);
  WriteTail(channel);
}
