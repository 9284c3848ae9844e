// The help screen, written to standard error.
#pragma once

#include <string>

// Writes a run of "-" as long as text (one per byte), text, and the run
// again, as three lines on ConsoleOut.
void ShowHeading(const std::string& text);

// Writes the help screen through ConsoleOut, bound to standard error for the
// duration: the brief screen, or the full one when extendedHelp is set. The
// program name comes from AppVersionInfo.
void ShowSyntaxHelp(bool extendedHelp);
