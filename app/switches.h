// The opt-in switches given before a search's arguments: how the results
// are written, what the positions count, and whether case matters. With
// none of them, every result line is the one the program has always
// written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/units.h"

// The one field --field writes.
enum class TField : uint8_t { None, Found, Position, AfterPosition, Length, Before, After, Line, Occurrence, File };

// What is wrong with the command line, once a real switch has been read.
enum class TUsageError : uint8_t {
  None,
  NoSwitch,          // looks like a long switch but is none
  BadValue,          // a switch with a value it does not take
  NoValue,           // a switch without the value it takes
  Twice,             // a switch given again with another value
  BesideLength,      // a positional length beside --length
  BesideDelimiters,  // a positional delimiter text beside --delimiters
};

struct TSwitchesRec {
  bool Lines = false;       // --lines: every line of standard input
  bool Files = false;       // --files: every line of the files after the token
  bool Json = false;        // --json: one JSON object per result
  bool FoundOnly = false;   // --found-only: no result for a missing token
  bool LineNumber = false;  // --line-number: each result starts with "N|"
  bool Lf = false;          // --lf: LF line ends (JSON always has them)
  bool IgnoreCase = false;  // --ignore-case: simple case folding
  bool All = false;         // --all: every occurrence, each its own result
  int64_t Occurrence = 0;   // --occurrence=N: the Nth only (from the end below 0)
  bool Word = false;        // --word: only occurrences that stand as words
  bool UpTo = false;        // --up-to: up to N characters before, not a word
  TField Field = TField::None;
  TUnits Units = TUnits::Utf16;
  int64_t FirstLine = 1;  // --first-line=N: the number of the first line
  // The index of the first argument after the switches (and after "--"
  // when it ended them).
  int32_t DataStart = 1;
  // Where the search's arguments stand: the text (0 with --lines and
  // --files, which search lines instead) and the token; the length and the
  // delimiters follow the token, but for --files, whose files follow it.
  int32_t TextIndex = 1;
  int32_t TokenIndex = 2;
  // The arguments that hold --length=N and --delimiters=TEXT, or 0.
  int32_t LengthIndex = 0;
  int32_t DelimitersIndex = 0;
  // The first data argument looks like a long switch but is none: the
  // caller warns that it is taken as text.
  bool DoubtfulData = false;
  // What is wrong, and the argument that is: the run ends with exit code
  // 64 and no search.
  TUsageError Error = TUsageError::None;
  int32_t ErrorIndex = 0;
};

// Reads the switches from argument 1 on: a run of known switches, in any
// order and any letter case (a value in its own), ended by the first
// argument that is none or by "--" after at least one switch. A first
// argument that is none of the switches leaves every field at its
// default; after a switch, one that looks like a long switch but is none
// or takes no such value, a switch given again with another value, or a
// positional length or delimiter text beside --length or --delimiters is a
// usage error. The help switches are not read here.
TSwitchesRec ReadSwitches();

// The search's arguments after the switches, read once, as texts.
struct TSearchArgsRec {
  // The text of a single call: its bytes where it is ASCII, else as typed.
  bool TextIsAscii = true;
  std::string_view AsciiText;
  std::u16string Text;
  // The token, the same way.
  bool TokenIsAscii = true;
  std::string_view AsciiToken;
  std::u16string Token;
  // The length: 0 where it does not convert.
  int32_t Length = 0;
  // The delimiters as typed; empty for the default.
  std::u16string Delimiters;
  // The page the byte escapes of Text, Token and Delimiters come from.
  uint32_t EscapesCp = 0;
};

// Reads the text (in a single call), the token, the length and the
// delimiters where switches says they stand. The ASCII texts are views of
// the arguments, which live as long as the process.
TSearchArgsRec ReadSearchArgs(const TSwitchesRec& switches);

// True when every line of the run, results and warnings, ends with LF
// alone: asked for with --lf, and always in the forms made for scripts
// (JSON, one field), where a CR would stick to the last value.
inline bool LinesEndInLf(const TSwitchesRec& s) { return s.Lf || s.Json || s.Field != TField::None; }

// True when each result that is written is the plain line as it has always
// been (ended by CR LF, or LF for --lf).
inline bool PlainResults(const TSwitchesRec& s) { return !s.Json && !s.LineNumber && s.Field == TField::None; }
