#include "app/switches.h"

#include <string_view>

#include "app/length_arg.h"
#include "core/params.h"
#include "text/ascii.h"

namespace {

// digits as a number: up to 18 decimal digits, nothing else.
bool ReadNumber(std::string_view digits, int64_t& number) {
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
  } Fields[] = {
      {"FOUND", TField::Found},   {"POSITION", TField::Position},     {"AFTER_POSITION", TField::AfterPosition},
      {"LENGTH", TField::Length}, {"BEFORE", TField::Before},         {"AFTER", TField::After},
      {"LINE", TField::Line},     {"OCCURRENCE", TField::Occurrence}, {"FILE", TField::File}};
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

// The value of the argument at index after its switch's name and "=",
// as typed.
std::u16string SwitchValueText(int32_t index) {
  const std::u16string arg = ParamText(index);
  return arg.substr(arg.find(u'=') + 1);
}

// Sets field to value, which must not differ from what an earlier switch
// gave it (given says whether one did).
template <typename T>
TUsageError Give(T& field, const T& value, bool& given) {
  if (given && field != value) return TUsageError::Twice;
  field = value;
  given = true;
  return TUsageError::None;
}

// Which switches with a value have been given.
struct TGivenRec {
  bool Field = false, Units = false, FirstLine = false, Occurrence = false, Length = false, Delimiters = false;
  int32_t LengthValue = 0;
};

// Applies the switch at index, whose name is upper-cased and whose value
// follows "=" (an upper-cased copy in value), to s.
TUsageError ReadSwitch(int32_t index, std::string_view name, std::string_view value, bool bare, TSwitchesRec& s,
                       TGivenRec& given) {
  // The switches that take no value.
  static constexpr struct {
    std::string_view Name;
    bool TSwitchesRec::*Flag;
  } Flags[] = {{"--LINES", &TSwitchesRec::Lines},
               {"--FILES", &TSwitchesRec::Files},
               {"--JSON", &TSwitchesRec::Json},
               {"--FOUND-ONLY", &TSwitchesRec::FoundOnly},
               {"--LINE-NUMBER", &TSwitchesRec::LineNumber},
               {"--LF", &TSwitchesRec::Lf},
               {"--IGNORE-CASE", &TSwitchesRec::IgnoreCase},
               {"--ALL", &TSwitchesRec::All},
               {"--WORD", &TSwitchesRec::Word},
               {"--UP-TO", &TSwitchesRec::UpTo}};
  for (const auto& flag : Flags) {
    if (name != flag.Name) continue;
    if (!bare) return TUsageError::BadValue;
    s.*flag.Flag = true;
    return TUsageError::None;
  }
  if (bare) {
    for (std::string_view valued : {"--FIELD", "--UNITS", "--FIRST-LINE", "--OCCURRENCE", "--LENGTH", "--DELIMITERS"})
      if (name == valued) return TUsageError::NoValue;
    return TUsageError::NoSwitch;
  }
  if (name == "--FIELD") {
    TField field;
    return ReadField(value, field) ? Give(s.Field, field, given.Field) : TUsageError::BadValue;
  }
  if (name == "--UNITS") {
    TUnits units;
    return ReadUnits(value, units) ? Give(s.Units, units, given.Units) : TUsageError::BadValue;
  }
  if (name == "--FIRST-LINE") {
    int64_t number;
    return ReadNumber(value, number) ? Give(s.FirstLine, number, given.FirstLine) : TUsageError::BadValue;
  }
  if (name == "--OCCURRENCE") {
    // A whole number other than 0; below 0 it counts from the end.
    const bool negative = !value.empty() && value[0] == '-';
    int64_t number;
    if (!ReadNumber(value.substr(negative ? 1 : 0), number) || number == 0) return TUsageError::BadValue;
    return Give(s.Occurrence, negative ? -number : number, given.Occurrence);
  }
  if (name == "--LENGTH") {
    // Read as the positional length is: a text that does not convert is 0.
    s.LengthIndex = index;
    return Give(given.LengthValue, ConvertLength(value), given.Length);
  }
  if (name == "--DELIMITERS") {
    if (given.Delimiters && SwitchValueText(s.DelimitersIndex) != SwitchValueText(index)) return TUsageError::Twice;
    s.DelimitersIndex = index;
    given.Delimiters = true;
    return TUsageError::None;
  }
  return TUsageError::NoSwitch;
}

// A switch's name: "--", a letter, and up to "=" nothing beyond ASCII and
// no more than 40 bytes; its value may be any text. name and value come
// back upper-cased.
bool LooksLikeSwitch(int32_t index, std::string& name, std::string& value, bool& bare) {
  const std::string_view arg = ParamStr(index);
  if (arg.size() < 3 || arg.substr(0, 2) != "--") return false;
  const size_t equals = arg.find('=');
  bare = equals == std::string_view::npos;
  const std::string_view head = arg.substr(0, equals);
  if (head.size() > 40 || !IsAsciiText(head)) return false;
  name = UpperCaseAscii(head);
  value = bare ? std::string() : UpperCaseAscii(arg.substr(equals + 1));
  return name[2] >= 'A' && name[2] <= 'Z';
}

}  // namespace

TSwitchesRec ReadSwitches() {
  TSwitchesRec s;
  TGivenRec given;
  std::string name, value;
  bool bare = true;
  int32_t i = 1;
  for (; i <= ParamCount() && LooksLikeSwitch(i, name, value, bare); ++i) {
    TSwitchesRec next = s;
    const TUsageError error = ReadSwitch(i, name, value, bare, next, given);
    if (error == TUsageError::None) {
      s = next;
      continue;
    }
    // A first argument that is none stays text, as it always was.
    if (i == 1) break;
    s.Error = error;
    s.ErrorIndex = i;
    return s;
  }
  // "--" ends the switches only after one, so that a first argument "--"
  // stays text.
  if (i > 1 && i <= ParamCount() && ParamStr(i) == "--") {
    s.DataStart = i + 1;
  } else {
    s.DataStart = i;
    s.DoubtfulData = i == 1 && i <= ParamCount() && LooksLikeSwitch(i, name, value, bare);
  }
  const bool lines = s.Lines || s.Files;
  s.TextIndex = lines ? 0 : s.DataStart;
  s.TokenIndex = lines ? s.DataStart : s.DataStart + 1;
  if (s.Files) return s;  // what follows the token is files
  if (s.LengthIndex > 0 && s.TokenIndex + 1 <= ParamCount()) {
    s.Error = TUsageError::BesideLength;
    s.ErrorIndex = s.TokenIndex + 1;
  } else if (s.DelimitersIndex > 0 && s.TokenIndex + 2 <= ParamCount()) {
    s.Error = TUsageError::BesideDelimiters;
    s.ErrorIndex = s.TokenIndex + 2;
  }
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
  if (switches.LengthIndex > 0) {
    a.Length = ParamAscii(switches.LengthIndex, length) ? ConvertLength(length.substr(length.find('=') + 1)) : 0;
  } else if (!switches.Files) {
    a.Length = ParamAscii(switches.TokenIndex + 1, length) ? ConvertLength(length) : 0;
  }
  if (switches.DelimitersIndex > 0)
    a.Delimiters = SwitchValueText(switches.DelimitersIndex);
  else if (!switches.Files)
    a.Delimiters = ParamText(switches.TokenIndex + 2);
  a.EscapesCp = ParamCodePage();
  return a;
}
