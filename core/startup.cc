#include "core/startup.h"

#include <new>

#include "core/console.h"
#include "core/exit_code.h"
#include "core/format_settings.h"
#include "core/params.h"
#include "core/path_parts.h"
#include "core/process_record.h"
#include "core/version_info.h"
#include "platform/platform.h"

std::string_view FmtLongDate = "dddd, mmmm dd, yyyy";
std::string_view FmtShortDate = "mm/dd/yyyy";
std::string_view FmtTime = "hh:nn:ss";
std::string_view FmtDateTime = "mm/dd/yyyy hh:nn:ss";
std::string_view FmtElapsed = "mm/dd/yyyy [hh]:nn:ss.zzz";
std::string_view FmtDateTimeMs = "mm/dd/yyyy hh:nn:ss.zzz";
std::string_view FmtDateTimeShortYear = "mm/dd/yy hh:nn:ss";
std::string_view FmtDateTime12h = "mm/dd/yyyy hh:nn AM/PM";

namespace {

enum class TCorePhase { BeforeStartup, Started, Built, Released };
TCorePhase Phase = TCorePhase::BeforeStartup;

TProcessRec<TCoreStateRec> StateStorage;

// The start-up's steps for the state, in their order.
void BuildCoreState(TCoreStateRec& s) {
  s.AppProcessId = CurrentProcessId();
  const std::u16string path = ParamText(0);
  s.AppDirQuoted = QuoteIfNeeded(AnsiFromParamText(PathDirectory(path)));
  s.AppNameQuoted = QuoteIfNeeded(AnsiFromParamText(PathFileName(path)));
  s.ParamList.clear();
  CaptureParams(s.ParamList);
  s.FindParamList.clear();
  ResetParamRecList(s.FindParamList, 0);
  InitSyntaxRec(s.CustomSyntaxRec, "Custom Syntax Validation Record");
  InitSyntaxRec(s.DefaultSyntaxRec, "Default Syntax Validation Record");
}

}  // namespace

const TCoreStateRec& CoreState() {
  TCoreStateRec& s = ProcessRecord(StateStorage);
  if (Phase == TCorePhase::Started) {
    BuildCoreState(s);
    Phase = TCorePhase::Built;
  }
  return s;
}

void CoreStartup() {
  // Exhausted memory ends the run as a failed write does, with a report.
  std::set_new_handler(HaltOnOutOfMemory);
  ExitCode = ExitTokenFound;
  BindChannel(ConsoleOut, TStdStream::Output);
  BindChannel(ConsoleErr, TStdStream::Error);
  Phase = TCorePhase::Started;
  ScheduleLocaleSettingsLoad();
}

void CoreShutdown() {
  // Only what was filled holds anything to release.
  ReleaseAppVersionInfo();
  ReleaseProcessRecord(StateStorage);
  Phase = TCorePhase::Released;
  ReleaseStartupFormatSettings();
  FmtLongDate = FmtShortDate = FmtTime = FmtDateTime = FmtElapsed = FmtDateTimeMs = FmtDateTimeShortYear =
      FmtDateTime12h = std::string_view();
}
