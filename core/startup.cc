#include "core/startup.h"

#include "core/console.h"
#include "core/exit_code.h"
#include "core/format_settings.h"
#include "core/params.h"
#include "core/path_parts.h"
#include "core/version_info.h"
#include "platform/platform.h"

uint32_t AppProcessId = 0;
std::string AppDirQuoted;
std::string AppNameQuoted;
TParamStatusArray ParamList;
TParamRecArray FindParamList;
std::array<TFindParamRec, 9> FindParamSlots;
TParamStatisticsRec CustomSyntaxRec;
TParamStatisticsRec DefaultSyntaxRec;
std::string SpareText1, SpareText2;

std::string_view FmtLongDate = "dddd, mmmm dd, yyyy";
std::string_view FmtShortDate = "mm/dd/yyyy";
std::string_view FmtTime = "hh:nn:ss";
std::string_view FmtDateTime = "mm/dd/yyyy hh:nn:ss";
std::string_view FmtElapsed = "mm/dd/yyyy [hh]:nn:ss.zzz";
std::string_view FmtDateTimeMs = "mm/dd/yyyy hh:nn:ss.zzz";
std::string_view FmtDateTimeShortYear = "mm/dd/yy hh:nn:ss";
std::string_view FmtDateTime12h = "mm/dd/yyyy hh:nn AM/PM";

void CoreStartup() {
  CustomSyntaxRec = TParamStatisticsRec();
  DefaultSyntaxRec = TParamStatisticsRec();
  ExitCode = ExitTokenFound;
  BindChannel(ConsoleOut, TStdStream::Output);
  BindChannel(ConsoleErr, TStdStream::Error);
  AppProcessId = CurrentProcessId();
  const std::string path(ParamStr(0));
  AppDirQuoted = QuoteIfNeeded(PathDirectory(path));
  AppNameQuoted = QuoteIfNeeded(PathFileName(path));
  ParamList.clear();
  CaptureParams(ParamList);
  FindParamList.clear();
  ResetParamRecList(FindParamList, 0);
  InitSyntaxRec(CustomSyntaxRec, "Custom Syntax Validation Record");
  InitSyntaxRec(DefaultSyntaxRec, "Default Syntax Validation Record");
  ScheduleLocaleSettingsLoad();
}

void CoreShutdown() {
  AppVersionInfo = TFileVersionInfoRec();
  ParamList = TParamStatusArray();
  FindParamList = TParamRecArray();
  CustomSyntaxRec = TParamStatisticsRec();
  DefaultSyntaxRec = TParamStatisticsRec();
  SpareText1 = std::string();
  SpareText2 = std::string();
  FindParamSlots = std::array<TFindParamRec, 9>();
  AppDirQuoted = std::string();
  AppNameQuoted = std::string();
  StartupFormatSettings = TFormatSettings();
  FmtLongDate = FmtShortDate = FmtTime = FmtDateTime = FmtElapsed = FmtDateTimeMs =
      FmtDateTimeShortYear = FmtDateTime12h = std::string_view();
}
