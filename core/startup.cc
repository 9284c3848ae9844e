#include "core/startup.h"

#include "core/console.h"
#include "core/locale_settings.h"
#include "core/params.h"
#include "core/path_parts.h"
#include "core/version_info.h"
#include "platform/platform.h"

int32_t ExitCode = 0;
uint32_t AppProcessId = 0;
std::string AppDirQuoted;
std::string AppNameQuoted;
TParamStatusArray ParamList;
TParamRecArray FindParamList;
std::array<TFindParamRec, 9> FindParamSlots;
TParamStatisticsRec CustomSyntaxRec;
TParamStatisticsRec DefaultSyntaxRec;
TFormatSettings StartupFormatSettings;
std::string SpareText1, SpareText2;

std::string_view FmtLongDate = "dddd, mmmm dd, yyyy";
std::string_view FmtShortDate = "mm/dd/yyyy";
std::string_view FmtTime = "hh:nn:ss";
std::string_view FmtDateTime = "mm/dd/yyyy hh:nn:ss";
std::string_view FmtElapsed = "mm/dd/yyyy [hh]:nn:ss.zzz";
std::string_view FmtDateTimeMs = "mm/dd/yyyy hh:nn:ss.zzz";
std::string_view FmtDateTimeShortYear = "mm/dd/yy hh:nn:ss";
std::string_view FmtDateTime12h = "mm/dd/yyyy hh:nn AM/PM";

namespace {

bool LocaleSettingsPending = false;

}  // namespace

void CoreStartup() {
  CustomSyntaxRec = TParamStatisticsRec();
  DefaultSyntaxRec = TParamStatisticsRec();
  StartupFormatSettings = TFormatSettings();
  ExitCode = 0;
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
  LocaleSettingsPending = true;
}

void ApplyPendingLocaleSettings(TFormatSettings& settings) {
  if (!LocaleSettingsPending) return;
  LocaleSettingsPending = false;
  StartupFormatSettings = settings;
  LoadLocaleSettings(LocaleSystemDefault, settings);
  settings.DateSeparator = '/';
  settings.ShortDateFormat = "mm/dd/yyyy";
  settings.ShortTimeFormat = "hh:nn:ss";
  settings.LongDateFormat = "dddd, mmmm dd, yyyy";
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
