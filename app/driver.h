// The program's control flow: classify the command line, then either show
// help or run the search and write the result line.
#pragma once

// Runs the program once and sets ExitCode.
void RunTokloc();

// Releases the driver's program-wide texts; called before CoreShutdown.
void ReleaseDriverState();
