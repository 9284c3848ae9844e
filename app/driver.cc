#include "app/driver.h"

#include <string>

#include "app/help.h"
#include "app/length_arg.h"
#include "app/token_search.h"
#include "core/console.h"
#include "core/params.h"
#include "core/startup.h"
#include "core/version_info.h"
#include "platform/platform.h"

namespace {

std::string FirstParam;
bool ExtendedHelp = false;
std::u16string SearchText;
std::u16string SearchToken;
std::string Delimiters;
std::u16string TextBefore;
std::u16string TextAfter;

std::string UpperCaseAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool IsOneOf(const std::string& text, std::initializer_list<const char*> choices) {
  for (const char* choice : choices)
    if (text == choice) return true;
  return false;
}

void RunHelp() {
  ExitCode = 254;
  if (FirstParam == "--VERSION-ONLY") {
    ShowAppVersion(AppVersionInfo, ExtendedHelp, false);
    return;
  }
  ShowAppVersion(AppVersionInfo, ExtendedHelp, true);
  if (FirstParam != "--INFO") {
    ShowSyntaxHelp(ExtendedHelp);
    ExitCode = 255;
  }
}

void RunSearch() {
  const uint32_t acp = AnsiCodePage();
  SearchText = NarrowToWide(ParamStr(1), acp);
  SearchToken = NarrowToWide(ParamStr(2), acp);
  const int32_t length = ConvertLength(ParamStr(3));
  Delimiters = ParamStr(4);
  if (Delimiters.empty()) Delimiters = " ,;";

  const int32_t position = LocateToken(SearchToken, SearchText);
  int32_t after = 0;
  if (position < 1) {
    TextBefore.clear();
    TextAfter.clear();
    ExitCode = 76;
  } else {
    // Cut the context from the wide text at the token's own positions, so a
    // multi-byte code page never splits a character.
    after = position + static_cast<int32_t>(SearchToken.size());
    const TCharSet delimiterSet = BuildDelimiterSet(NarrowToWide(Delimiters, acp));
    TextBefore = TextBeforeToken(SearchText, position, length, delimiterSet);
    TextAfter = TextAfterToken(SearchText, after, length, delimiterSet);
    ExitCode = 0;
  }

  // The result line has a channel of its own on standard output.
  TTextChannelRec result;
  BindChannel(result, TStdStream::Output);
  WriteText(result, position >= 1 ? "TRUE|" : "FALSE|");
  WriteNumber(result, position);
  WriteText(result, "|");
  WriteNumber(result, after);
  WriteText(result, "|");
  WriteNumber(result, length);
  WriteText(result, "|");
  WriteWideText(result, TextBefore);
  WriteText(result, "|");
  WriteWideText(result, TextAfter);
  WriteText(result, "|");
  WriteLineEnd(result);
}

}  // namespace

void RunTokloc() {
  ExitCode = 0;
  BindChannel(ConsoleOut, TStdStream::Output);

  TFileVersionInfoRec info;
  FillVersionInfo(info, "1.1.0", "1.1.0.50", "Find the location of a string token in a line of text",
                  "tokloc", false);
  AppVersionInfo = info;

  FirstParam = UpperCaseAscii(ParamStr(1));
  ExtendedHelp = IsOneOf(FirstParam, {"-??", "/??", "--??", "--INFO", "--VERSION-ONLY"});
  const bool helpMode =
      ExtendedHelp || IsOneOf(FirstParam, {"-?", "/?", "-H", "/H"}) || ParamCount() < 2;
  if (helpMode)
    RunHelp();
  else
    RunSearch();
}

void ReleaseDriverState() {
  FirstParam = std::string();
  SearchText = std::u16string();
  SearchToken = std::u16string();
  Delimiters = std::string();
  TextBefore = std::u16string();
  TextAfter = std::u16string();
}
