// The process exit code and every value the program ends with.
#pragma once

#include <cstdint>

enum TExitCodeValue : int32_t {
  ExitTokenFound = 0,
  ExitTokenNotFound = 76,
  ExitUsageError = 64,
  ExitInputFailed = 66,    // --files: a file could not be opened or read     // the help screen's "Missing
                           // necessary/essential parameters"
  ExitWriteFailed = 217,   // a write to an output stream failed
  ExitVersionShown = 254,  // --info and --version-only
  ExitHelpShown = 255,     // any other help request
};

// The process exit code: 0 at start, set by the driver.
extern int32_t ExitCode;
