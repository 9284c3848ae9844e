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
extern uint32_t AppProcessId;
extern std::string AppDirQuoted;   // directory of argument 0, quoted if needed
extern std::string AppNameQuoted;  // file name of argument 0, quoted if needed
extern TParamStatusArray ParamList;
extern TParamRecArray FindParamList;
extern std::array<TFindParamRec, 9> FindParamSlots;
extern TParamStatisticsRec CustomSyntaxRec;
extern TParamStatisticsRec DefaultSyntaxRec;
extern std::string SpareText1, SpareText2;

// The core's format texts; nothing in tokloc reads or changes them.
extern std::string_view FmtLongDate, FmtShortDate, FmtTime, FmtDateTime, FmtElapsed,
    FmtDateTimeMs, FmtDateTimeShortYear, FmtDateTime12h;

// Prepares the core's state; run once, before the driver: sets ExitCode to
// 0, binds ConsoleOut and ConsoleErr and fills the globals above. The date
// settings are loaded from the system-default locale when they are first
// used (ScheduleLocaleSettingsLoad).
void CoreStartup();

// Releases the core's state; run once, after the driver's own texts are
// released.
void CoreShutdown();
