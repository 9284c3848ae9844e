// The lines tokloc writes on standard error about its arguments and
// inputs: warnings, usage errors and files it could not read. Each is one
// line, ended as the results are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/switches.h"

// tokloc: "ARGUMENT<what>: the argument at index, quoted, then what became
// of it or what is wrong with it (what begins with the closing quote).
void SayOfArgument(const TSwitchesRec& switches, int32_t index, std::string_view what);

// tokloc: NAME: REASON, for the input at index (beyond the arguments:
// standard input, "-") that could not be opened or read; reason is the
// system's words, in the ANSI code page.
void SayOfInput(const TSwitchesRec& switches, int32_t index, const std::string& reason);
