// The core's process-wide state: prepared before the driver runs and
// released after it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/param_list.h"

// State the core keeps for the programs built on it; tokloc itself reads
// none of it.
struct TCoreStateRec {
  uint32_t AppProcessId = 0;
  std::string AppDirQuoted;   // directory of argument 0, quoted if needed
  std::string AppNameQuoted;  // file name of argument 0, quoted if needed
  TParamStatusArray ParamList;
  TParamRecArray FindParamList;
  std::array<TFindParamRec, 9> FindParamSlots;
  TParamStatisticsRec CustomSyntaxRec;
  TParamStatisticsRec DefaultSyntaxRec;
  std::string SpareText1, SpareText2;
};

// The core's state. Before CoreStartup and after CoreShutdown every field
// is empty; in between it holds what the start-up prepares: the process
// identifier, argument 0's directory and file name quoted if needed, one
// ParamList element per argument, an empty FindParamList and slots, and
// the two syntax records with their captions. Its values are fixed by
// CoreStartup, but it is built on first read, so a run that never reads it
// pays nothing for it.
const TCoreStateRec& CoreState();

// The core's format texts; nothing in tokloc reads or changes them.
extern std::string_view FmtLongDate, FmtShortDate, FmtTime, FmtDateTime, FmtElapsed, FmtDateTimeMs,
    FmtDateTimeShortYear, FmtDateTime12h;

// Prepares the core's state; run once, before the driver: sets ExitCode to
// 0, binds ConsoleOut and ConsoleErr and fixes CoreState. The date settings
// are loaded from the system-default locale when they are first used
// (ScheduleLocaleSettingsLoad).
void CoreStartup();

// Releases the core's state: the identity record, CoreState, the settings
// kept from before the locale load and the format texts. Run once, after
// the driver's own texts are released.
void CoreShutdown();
