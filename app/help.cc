#include "app/help.h"

#include "core/console.h"
#include "core/version_info.h"

namespace {

enum class TLeadIn {
  Heading,       // three lines by ShowHeading
  Name,          // one blank and the program name before the text
  Plain,         // the text alone
  EmptyLine,     // CR LF, then the line end
  EnteringName,  // " * Entering " and the program name before the text
  MoreDetails,   // the brief screen's last line
};

enum class TShown { Always, BriefOnly, FullOnly };

struct THelpRowRec {
  TLeadIn LeadIn;
  const char* Text;
  TShown Shown;
};

constexpr THelpRowRec HelpRows[] = {
    {TLeadIn::Heading, "CMD SYNTAX:", TShown::Always},
    {TLeadIn::Name, " <text to search> <token to search for> [length of values to return]", TShown::Always},
    {TLeadIn::Name, " [-?|/?|-H|/H|-??|/??]", TShown::Always},
    {TLeadIn::EmptyLine, "", TShown::Always},
    {TLeadIn::Heading, "SYNTAX EXAMPLES:", TShown::Always},
    {TLeadIn::Name, "", TShown::Always},
    {TLeadIn::Name, " \"This is not a very long string\" \"long\"", TShown::Always},
    {TLeadIn::Name, " \"Can I even find numbers like 1,3,5 or 7 in here?\" \"2,4\"", TShown::Always},
    {TLeadIn::Name, " \"We can look for tokens like THIS: even in the middle\" \"THIS:\" 12", TShown::Always},
    {TLeadIn::Name, " \"We can look for tokens like THIS: even in the middle\" \"THIS:\" 0", TShown::Always},
    {TLeadIn::Name, " \"And we can look for tokens at the very end on the line\" \"LINE\" 7", TShown::Always},
    {TLeadIn::Name, " \"And we can look for tokens at the very end on the line\" \"line\" 7", TShown::Always},
    {TLeadIn::Name, " -?", TShown::Always},
    {TLeadIn::EmptyLine, "", TShown::Always},
    {TLeadIn::MoreDetails, " --??", TShown::BriefOnly},
    {TLeadIn::Heading, "GENERAL USAGE NOTES:", TShown::FullOnly},
    {TLeadIn::EnteringName, " with no parameters will display this help message.", TShown::FullOnly},
    {TLeadIn::Plain, " * Parameters surrounded by <> are mandatory; Those surrounded by [] are optional.",
     TShown::FullOnly},
    {TLeadIn::Plain, " * The help parameters (-? and -??) must be in the first position to be recognized.",
     TShown::FullOnly},
    {TLeadIn::Plain, " * Filenames or parameters with spaces in them must be surrounded by double quotes.",
     TShown::FullOnly},
    {TLeadIn::EmptyLine, "", TShown::FullOnly},
    {TLeadIn::Heading, "APP SPECIFIC USAGE NOTES:", TShown::FullOnly},
    {TLeadIn::Plain, " * The token search is currently case sensitive.", TShown::FullOnly},
    {TLeadIn::Plain, " * If no token is found, the returned value will be:  \"FALSE|0|0|0|||\"", TShown::FullOnly},
    {TLeadIn::Plain, " * If a length is provided, any text returned will be up to that length, if possible.",
     TShown::FullOnly},
    {TLeadIn::Plain, " * If no length is provided, any text returned will be the whole word before and/or",
     TShown::FullOnly},
    {TLeadIn::Plain, "   after the found token.", TShown::FullOnly},
    {TLeadIn::EmptyLine, "", TShown::FullOnly},
    {TLeadIn::Plain, " * Output format = \"a|b|c|d|e|f|\" as \"BOOLEAN|#|#|#|text|text|\"", TShown::FullOnly},
    {TLeadIn::Plain, "     a. BOOLEAN .... Did we find the token?  TRUE or FALSE.", TShown::FullOnly},
    {TLeadIn::Plain, "     b. # .......... Location of first character of the token, if found; else 0.",
     TShown::FullOnly},
    {TLeadIn::Plain, "     c. # .......... Location of first character after the token, if found; else 0.",
     TShown::FullOnly},
    {TLeadIn::Plain, "     d. # .......... Number of characters requested for the length.", TShown::FullOnly},
    {TLeadIn::Plain, "     e. text ....... The length of characters (or whole word) before the token.",
     TShown::FullOnly},
    {TLeadIn::Plain, "     f. text ....... The length of characters (or whole word) after the token.",
     TShown::FullOnly},
    {TLeadIn::EmptyLine, "", TShown::FullOnly},
    {TLeadIn::Heading, "EXIT/RETURN CODES:", TShown::FullOnly},
    {TLeadIn::Plain, " * Exit/Return codes will be generated for the following conditions:", TShown::FullOnly},
    {TLeadIn::Plain, "      0 - Command completed successfully", TShown::FullOnly},
    {TLeadIn::Plain, "     64 - Missing necessary/essential parameters", TShown::FullOnly},
    {TLeadIn::Plain, "     69 - No search criteria provided", TShown::FullOnly},
    {TLeadIn::Plain, "     76 - Requested token was not found", TShown::FullOnly},
    {TLeadIn::Plain, "    254 - Only application version info was displayed", TShown::FullOnly},
    {TLeadIn::Plain, "    255 - Syntax help requested", TShown::FullOnly},
};

void WriteHelpRow(const THelpRowRec& row) {
  const std::string& name = AppVersionInfo().ProgramName;
  switch (row.LeadIn) {
    case TLeadIn::Heading: ShowHeading(row.Text); return;
    case TLeadIn::EmptyLine:
      // CR LF and then the line end: an empty row is two line breaks on
      // purpose, the screen's long-standing shape. Not to be "fixed".
      WriteText(ConsoleOut, "\r\n");
      break;
    case TLeadIn::Name:
      WriteText(ConsoleOut, " ");
      WriteAnsiText(ConsoleOut, name);
      WriteText(ConsoleOut, row.Text);
      break;
    case TLeadIn::EnteringName:
      WriteText(ConsoleOut, " * Entering ");
      WriteAnsiText(ConsoleOut, name);
      WriteText(ConsoleOut, row.Text);
      break;
    case TLeadIn::MoreDetails:
      WriteText(ConsoleOut, "For more details, please type: ");
      WriteAnsiText(ConsoleOut, name);
      WriteText(ConsoleOut, row.Text);
      break;
    case TLeadIn::Plain: WriteText(ConsoleOut, row.Text); break;
  }
  WriteLineEnd(ConsoleOut);
}

}  // namespace

void ShowHeading(const std::string& text) {
  const std::string dashes(text.size(), '-');
  WriteText(ConsoleOut, dashes);
  WriteLineEnd(ConsoleOut);
  WriteText(ConsoleOut, text);
  WriteLineEnd(ConsoleOut);
  WriteText(ConsoleOut, dashes);
  WriteLineEnd(ConsoleOut);
}

void ShowSyntaxHelp(bool extendedHelp) {
  const TStdStream savedStream = ConsoleOut.Stream;
  BindChannel(ConsoleOut, TStdStream::Error);
  for (const THelpRowRec& row : HelpRows) {
    if (row.Shown == (extendedHelp ? TShown::BriefOnly : TShown::FullOnly)) continue;
    WriteHelpRow(row);
  }
  BindChannel(ConsoleOut, savedStream);
}
