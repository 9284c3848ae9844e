#include "app/switches.h"

#include <string_view>

#include "app/length_arg.h"
#include "core/params.h"
#include "text/ascii.h"

namespace {

// digits as a line number: up to 18 decimal digits, nothing else.
bool ReadLineNumber(std::string_view digits, int64_t& number) {
  if (digits.empty() || digits.size() > 18) return false;
  int64_t n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  number = n;
  return true;
}

bool ReadField(std::string_view name, TField& field) {
  static constexpr struct {
    std::string_view Name;
    TField Field;
  } Fields[] = {{"FOUND", TField::Found},   {"POSITION", TField::Position}, {"AFTER_POSITION", TField::AfterPosition},
                {"LENGTH", TField::Length}, {"BEFORE", TField::Before},     {"AFTER", TField::After},
                {"LINE", TField::Line}};
  for (const auto& f : Fields)
    if (name == f.Name) {
      field = f.Field;
      return true;
    }
  return false;
}

bool ReadUnits(std::string_view name, TUnits& units) {
  if (name == "UTF16")
    units = TUnits::Utf16;
  else if (name == "CHARS")
    units = TUnits::Chars;
  else if (name == "BYTES")
    units = TUnits::Bytes;
  else
    return false;
  return true;
}

// Applies the switch (upper-cased) to s; false when it is none.
bool ReadSwitch(const std::string& arg, TSwitchesRec& s) {
  const std::string_view a = arg;
  const size_t equals = a.find('=');
  const std::string_view name = a.substr(0, equals);
  const std::string_view value = equals == std::string_view::npos ? std::string_view() : a.substr(equals + 1);
  const bool bare = equals == std::string_view::npos;
  if (bare && name == "--LINES")
    s.Lines = true;
  else if (bare && name == "--JSON")
    s.Json = true;
  else if (bare && name == "--FOUND-ONLY")
    s.FoundOnly = true;
  else if (bare && name == "--LINE-NUMBER")
    s.LineNumber = true;
  else if (bare && name == "--LF")
    s.Lf = true;
  else if (bare && name == "--IGNORE-CASE")
    s.IgnoreCase = true;
  else if (!bare && name == "--FIELD")
    return ReadField(value, s.Field);
  else if (!bare && name == "--UNITS")
    return ReadUnits(value, s.Units);
  else if (!bare && name == "--FIRST-LINE")
    return ReadLineNumber(value, s.FirstLine);
  else
    return false;
  return true;
}

// A switch's name: "--", a letter, and nothing beyond ASCII. Anything
// longer than this is text: no switch with its value comes near it.
bool LooksLikeSwitch(int32_t index, std::string& upper) {
  const std::string_view arg = ParamStr(index);
  if (arg.size() < 3 || arg.size() > 40 || arg.substr(0, 2) != "--") return false;
  std::string_view ascii;
  if (!ParamAscii(index, ascii)) return false;
  upper = UpperCaseAscii(ascii);
  return upper[2] >= 'A' && upper[2] <= 'Z';
}

}  // namespace

TSwitchesRec ReadSwitches() {
  TSwitchesRec s;
  std::string upper;
  int32_t i = 1;
  for (; i <= ParamCount() && LooksLikeSwitch(i, upper); ++i) {
    TSwitchesRec next = s;
    if (!ReadSwitch(upper, next)) break;
    s = next;
  }
  // "--" ends the switches only after one, so that a first argument "--"
  // stays text.
  if (i > 1 && i <= ParamCount() && ParamStr(i) == "--") {
    s.DataStart = i + 1;
  } else {
    s.DataStart = i;
    s.DoubtfulData = i <= ParamCount() && LooksLikeSwitch(i, upper);
  }
  s.TextIndex = s.Lines ? 0 : s.DataStart;
  s.TokenIndex = s.Lines ? s.DataStart : s.DataStart + 1;
  return s;
}

TSearchArgsRec ReadSearchArgs(const TSwitchesRec& switches) {
  TSearchArgsRec a;
  if (switches.TextIndex > 0) {
    a.TextIsAscii = ParamAscii(switches.TextIndex, a.AsciiText);
    if (!a.TextIsAscii) a.Text = ParamText(switches.TextIndex);
  }
  a.TokenIsAscii = ParamAscii(switches.TokenIndex, a.AsciiToken);
  if (!a.TokenIsAscii) a.Token = ParamText(switches.TokenIndex);
  // A length is ASCII: any other character is no digit.
  std::string_view length;
  a.Length = ParamAscii(switches.TokenIndex + 1, length) ? ConvertLength(length) : 0;
  a.Delimiters = ParamText(switches.TokenIndex + 2);
  a.EscapesCp = ParamCodePage();
  return a;
}
