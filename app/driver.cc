#include "app/driver.h"

#include <string>

#include "app/help.h"
#include "app/length_arg.h"
#include "app/token_search.h"
#include "build_info.h"
#include "core/console.h"
#include "core/exit_code.h"
#include "core/params.h"
#include "core/startup.h"
#include "core/version_info.h"
#include "platform/platform.h"
#include "text/ascii.h"
#include "text/code_page.h"

namespace {

// The driver's texts for one run, owned by the run and released when it
// ends, before the core's state.
struct TDriverStateRec {
  std::string FirstParam;  // the first argument upper-cased, for switches
  bool ExtendedHelp = false;
  std::u16string SearchText;
  std::u16string SearchToken;
  std::u16string Delimiters;
  std::u16string TextBefore;
  std::u16string TextAfter;
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

struct TFoundRec {
  int32_t Position = 0;  // of the token, 0 when it is absent
  int32_t After = 0;     // of the unit after it, 0 when it is absent
};

// Locates the token and, when it is there, cuts the context out of the same
// text at the token's own positions, so a multi-byte code page never splits
// a character.
template <typename TChar>
TFoundRec SearchAndExtract(std::basic_string_view<TChar> text, std::basic_string_view<TChar> token,
                           int32_t length, const TCharSetRec& delimiters, std::basic_string<TChar>& before,
                           std::basic_string<TChar>& after) {
  TFoundRec found;
  found.Position = LocateToken(token, text);
  before.clear();
  after.clear();
  if (found.Position < 1) return found;
  found.After = found.Position + static_cast<int32_t>(token.size());
  before = TextBeforeToken(text, found.Position, length, delimiters);
  after = TextAfterToken(text, found.After, length, delimiters);
  return found;
}

// ASCII context goes out as it is; the driver takes the ASCII way only
// where the output page keeps ASCII bytes as themselves.
void WriteContext(TTextChannelRec& channel, const std::string& ascii) { WriteAnsiText(channel, ascii); }
void WriteContext(TTextChannelRec& channel, const std::u16string& wide) {
  WriteWideText(channel, wide, ParamCodePage());
}

template <typename TText>
void WriteResultLine(const TFoundRec& found, int32_t length, const TText& before, const TText& after) {
  // The result line has a channel of its own on standard output, and goes
  // out in one write when it fits in 4 KiB.
  TTextChannelRec result;
  BindChannel(result, TStdStream::Output, TChannelMode::WholeLine);
  WriteText(result, found.Position >= 1 ? "TRUE|" : "FALSE|");
  WriteNumber(result, found.Position);
  WriteText(result, "|");
  WriteNumber(result, found.After);
  WriteText(result, "|");
  WriteNumber(result, length);
  WriteText(result, "|");
  WriteContext(result, before);
  WriteText(result, "|");
  WriteContext(result, after);
  WriteText(result, "|");
  WriteLineEnd(result);
}

void RunSearch(TDriverStateRec& d) {
  // A length or a switch is ASCII: any other character is no digit.
  std::string_view lengthText;
  const int32_t length = ParamAscii(3, lengthText) ? ConvertLength(lengthText) : 0;
  // Each character of the delimiter text is one delimiter, read like the
  // text: a double-byte character is one, and its trail byte is none.
  d.Delimiters = ParamText(4);
  if (d.Delimiters.empty()) d.Delimiters = u" ,;";
  const TCharSetRec delimiterSet = BuildDelimiterSet(d.Delimiters);

  TFoundRec found;
  std::string_view text, token;
  if (ParamAscii(1, text) && ParamAscii(2, token) && CodePageKeepsAscii(OutputCodePage())) {
    // Plain ASCII: every byte is one UTF-16 unit (every argument decoder
    // keeps ASCII as it is), so the bytes give the same positions and
    // context without converting anything.
    std::string before, after;
    found = SearchAndExtract(text, token, length, delimiterSet, before, after);
    WriteResultLine(found, length, before, after);
  } else {
    d.SearchText = ParamText(1);
    d.SearchToken = ParamText(2);
    found = SearchAndExtract<char16_t>(d.SearchText, d.SearchToken, length, delimiterSet, d.TextBefore,
                                       d.TextAfter);
    WriteResultLine(found, length, d.TextBefore, d.TextAfter);
  }
  ExitCode = found.Position >= 1 ? ExitTokenFound : ExitTokenNotFound;
}

void RunTokloc(TDriverStateRec& d) {
  ExitCode = ExitTokenFound;
  BindChannel(ConsoleOut, TStdStream::Output);

  // No switch is longer than 14 bytes; a longer first argument is text, and
  // copying a text of up to 128 KiB only to compare it would cost more than
  // the search. A character outside ASCII is no switch letter.
  std::string_view first = ParamStr(1);
  d.FirstParam = first.size() <= 14 && ParamAscii(1, first) ? UpperCaseAscii(first) : std::string();
  d.ExtendedHelp = IsOneOf(d.FirstParam, {"-??", "/??", "--??", "--INFO", "--VERSION-ONLY"});
  const bool helpMode =
      d.ExtendedHelp || IsOneOf(d.FirstParam, {"-?", "/?", "-H", "/H"}) || ParamCount() < 2;
  if (helpMode)
    RunHelp(d);
  else
    RunSearch(d);
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
