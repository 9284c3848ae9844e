// The search and context extraction against a deliberately simple
// reference, on UTF-8 and single-byte input, wide and narrow; the contexts
// in characters and bytes, and the text as JSON.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/json_text.h"
#include "app/token_search.h"
#include "app/units.h"
#include "tests/reference_search.h"
#include "text/ascii.h"
#include "text/codecs.h"
#include "text/utf16.h"

namespace {

// The units of a JSON string's inside: the escapes PutJsonUnits writes.
std::u16string ReadJsonUnits(std::string_view json) {
  std::u16string units;
  for (size_t i = 0; i < json.size(); ++i) {
    if (json[i] < 0x20 || json[i] > 0x7E || json[i] == '"') abort();
    if (json[i] != '\\') {
      units.push_back(static_cast<char16_t>(json[i]));
      continue;
    }
    const char e = json.at(++i);
    const std::string_view shorts = "\"\\bfnrt", meant = "\"\\\b\f\n\r\t";
    if (shorts.find(e) != std::string_view::npos) {
      units.push_back(static_cast<char16_t>(meant[shorts.find(e)]));
      continue;
    }
    if (e != 'u') abort();
    units.push_back(static_cast<char16_t>(std::stoul(std::string(json.substr(i + 1, 4)), nullptr, 16)));
    i += 4;
  }
  return units;
}

// A context in characters or bytes takes whole characters, and just enough
// of them: without its first (or last) character it would fall short.
void CheckCountedSpan(const TUnitCountRec& count, std::u16string_view text, std::u16string_view span, int32_t n,
                      bool before) {
  if (n < 1 || span.empty()) return;
  const size_t at = static_cast<size_t>(span.data() - text.data());
  if (SplitsPairAt(text, at) || SplitsPairAt(text, at + span.size())) abort();
  size_t width;
  if (before)
    CodePointAt(span, 0, width);
  else
    CodePointBefore(span, span.size(), width);
  const std::u16string_view less = before ? span.substr(width) : span.substr(0, span.size() - width);
  if (CountUnits(count, less) >= n) abort();
}

}  // namespace

// Input: one byte of length and code page, then text, token and delimiters
// separated by 0x00 bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int32_t n = static_cast<int32_t>(data[0] & 0x1F) - 4;
  const uint32_t cp = data[0] & 0x20 ? CodePageWindows1252 : CodePageUtf8;
  std::string parts[3];
  size_t k = 0;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && k < 2) {
      ++k;
      continue;
    }
    parts[k].push_back(static_cast<char>(data[i]));
  }
  const std::u16string text = DecodeFromCodePage(parts[0], cp), token = DecodeFromCodePage(parts[1], cp);
  const std::u16string delims = parts[2].empty() ? u" ,;" : DecodeFromCodePage(parts[2], cp);
  const int64_t pos = LocateToken<char16_t>(token, text);
  if (pos != RefLocate(token, text)) abort();
  const bool ascii = IsAsciiText(parts[0]) && IsAsciiText(parts[1]);
  if (ascii && LocateToken(std::string_view(parts[1]), std::string_view(parts[0])) != pos) abort();
  if (pos == 0) return 0;
  const int64_t after = pos + static_cast<int64_t>(token.size());
  const TCharSetRec set = BuildDelimiterSet(delims);
  const std::u16string before = TextBeforeToken<char16_t>(text, pos, n, set),
                       behind = TextAfterToken<char16_t>(text, after, n, set);
  if (before != RefBefore(text, pos, n, delims) || behind != RefAfter(text, after, n, delims)) abort();
  for (const TUnits units : {TUnits::Chars, TUnits::Bytes}) {
    const TUnitCountRec count{units, cp, cp};
    const std::u16string_view inBefore = TextBeforeSpanIn(count, text, pos, n, set);
    // Fewer units than asked for before the token give the word instead.
    if (CountUnits(count, std::u16string_view(text).substr(0, static_cast<size_t>(pos - 1))) >= n)
      CheckCountedSpan(count, text, inBefore, n, true);
    CheckCountedSpan(count, text, TextAfterSpanIn(count, text, after, n, set), n, false);
  }
  std::string json(JsonUnitsRoom(text.size()), '\0');
  json.resize(static_cast<size_t>(PutJsonUnits(json.data(), text) - json.data()));
  if (ReadJsonUnits(json) != text) abort();
  if (ascii) {
    const std::string narrowBefore = TextBeforeToken(std::string_view(parts[0]), pos, n, set);
    const std::string narrowAfter = TextAfterToken(std::string_view(parts[0]), after, n, set);
    if (std::u16string(narrowBefore.begin(), narrowBefore.end()) != before ||
        std::u16string(narrowAfter.begin(), narrowAfter.end()) != behind)
      abort();
  }
  return 0;
}
