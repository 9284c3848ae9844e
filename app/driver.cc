#include "app/driver.h"

#include <string>

#include "app/help.h"
#include "app/length_arg.h"
#include "app/lines_mode.h"
#include "app/notices.h"
#include "app/prepared_search.h"
#include "app/result_form.h"
#include "app/switches.h"
#include "build_info.h"
#include "core/console.h"
#include "core/exit_code.h"
#include "core/params.h"
#include "core/startup.h"
#include "core/version_info.h"
#include "platform/platform.h"
#include "text/ascii.h"

namespace {

// The driver's texts for one run, owned by the run and released when it
// ends, before the core's state.
struct TDriverStateRec {
  std::string FirstParam;  // the first argument upper-cased, for switches
  bool ExtendedHelp = false;
};

bool IsOneOf(const std::string& text, std::initializer_list<const char*> choices) {
  for (const char* choice : choices)
    if (text == choice) return true;
  return false;
}

void RunHelp(const TDriverStateRec& d) {
  // Only the banner and the help screen read the identity record, so a
  // search never pays for it.
  FillVersionInfo(AppVersionInfo(), ShortVersion, FullVersion, ProgramDescription, "tokloc", false);
  ExitCode = ExitVersionShown;
  if (d.FirstParam == "--VERSION-ONLY") {
    ShowAppVersion(AppVersionInfo(), d.ExtendedHelp, false);
    return;
  }
  ShowAppVersion(AppVersionInfo(), d.ExtendedHelp, true);
  if (d.FirstParam != "--INFO") {
    ShowSyntaxHelp(d.ExtendedHelp);
    ExitCode = ExitHelpShown;
  }
}

// What is wrong with the command line; the run then ends with exit code
// 64 and nothing on standard output.
std::string_view UsageErrorText(TUsageError error) {
  switch (error) {
    case TUsageError::NoSwitch: return "\" is no switch";
    case TUsageError::BadValue: return "\" has a value the switch does not take";
    case TUsageError::NoValue: return "\" needs a value after \"=\"";
    case TUsageError::Twice: return "\" gives its switch a second, other value";
    case TUsageError::BesideLength: return "\" is a length beside --length";
    case TUsageError::BesideDelimiters: return "\" is a delimiter text beside --delimiters";
    case TUsageError::None: break;
  }
  return "\"";
}

// --lines takes the argument after the token for the length: where that
// does not convert and names a file, the caller most likely meant --files.
void WarnOfFileAsLength(const TSwitchesRec& switches) {
  const int32_t index = switches.TokenIndex + 1;
  std::string_view length;
  if (switches.LengthIndex > 0 || index > ParamCount() || (ParamAscii(index, length) && ConvertLength(length) != 0))
    return;
  TInputRec file;
  std::string reason;
  if (!OpenInputFile(ParamStr(index), ParamText(index), file, reason)) return;
  CloseInput(file);
  SayOfArgument(switches, index, "\" is taken as the length: --lines reads standard input, and --files takes files");
}

void RunSearch(const TSwitchesRec& switches) {
  // The result line has a channel of its own on standard output, and goes
  // out in one write when it fits in 4 KiB.
  TTextChannelRec result;
  BindChannel(result, TStdStream::Output, TChannelMode::WholeLine);
  TSearchArgsRec args = ReadSearchArgs(switches);
  // An argument's bytes are in the ANSI page; its units, as typed, may
  // come from UTF-16 (Win32).
  TPreparedSearchRec search;
  PrepareSearch(search, switches, args, ParamStrCodePage(), ParamCodePage(), result.CodePage);
  TResultFormRec form;
  PrepareResultForm(form, switches, search.Length, ParamCodePage(), result);
  TSearchCursorRec cursor;
  TFoundRec found = args.TextIsAscii ? SearchText(search, cursor, args.AsciiText)
                                     : SearchText(search, cursor, std::u16string_view(args.Text));
  ExitCode = found.Position >= 1 ? ExitTokenFound : ExitTokenNotFound;
  WriteResult(form, result, found);
  while (NextResult(search, cursor, found)) WriteResult(form, result, found);
}

void RunTokloc(TDriverStateRec& d) {
  ExitCode = ExitTokenFound;
  BindChannel(ConsoleOut, TStdStream::Output);

  // No help switch is longer than 14 bytes; a longer first argument is
  // text or another switch, and copying a text of up to 128 KiB only to
  // compare it would cost more than the search. A character outside ASCII
  // is no switch letter.
  std::string_view first = ParamStr(1);
  d.FirstParam = first.size() <= 14 && ParamAscii(1, first) ? UpperCaseAscii(first) : std::string();
  d.ExtendedHelp = IsOneOf(d.FirstParam, {"-??", "/??", "--??", "--INFO", "--VERSION-ONLY"});
  if (d.ExtendedHelp || IsOneOf(d.FirstParam, {"-?", "/?", "-H", "/H"}) || ParamCount() < 2) {
    RunHelp(d);
    return;
  }
  const TSwitchesRec switches = ReadSwitches();
  if (switches.Error != TUsageError::None) {
    SayOfArgument(switches, switches.ErrorIndex, UsageErrorText(switches.Error));
    ExitCode = ExitUsageError;
    return;
  }
  // --lines needs a token; a single call a text and a token.
  if (switches.TokenIndex > ParamCount()) {
    RunHelp(d);
    return;
  }
  // A mistyped first switch is not searched for unnoticed.
  if (switches.DoubtfulData) SayOfArgument(switches, switches.DataStart, "\" is no switch; it is taken as text");
  if (switches.Lines && !switches.Files) WarnOfFileAsLength(switches);
  if (switches.Lines || switches.Files)
    ExitCode = SearchInputLines(switches);
  else
    RunSearch(switches);
}

}  // namespace

int32_t RunProcess() {
  LoadParams();
  CoreStartup();
  {
    TDriverStateRec driver;
    RunTokloc(driver);
  }  // the driver's texts are released here, before the core's state
  CoreShutdown();
  FlushChannel(ConsoleOut);
  FlushChannel(ConsoleErr);
  return ExitCode;
}
