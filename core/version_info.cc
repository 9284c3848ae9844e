#include "core/version_info.h"

#include "build_info.h"
#include "build_stamp.h"
#include "core/console.h"
#include "core/date_time.h"
#include "core/format_settings.h"
#include "core/params.h"
#include "core/path_parts.h"
#include "core/process_record.h"
#include "core/replace_text.h"
#include "text/ascii.h"

namespace {

TProcessRec<TFileVersionInfoRec> AppVersionInfoStorage;

// The build constants are always written with "/", ":" and ".", so they
// are read in that fixed form, whatever separators the locale uses.
TFormatSettings BuildStampSettings(const TFormatSettings& settings) {
  TFormatSettings fixed = settings;
  fixed.DateSeparator = '/';
  fixed.TimeSeparator = ':';
  fixed.DecimalSeparator = '.';
  fixed.ShortDateFormat = "yyyy/mm/dd";
  return fixed;
}

}  // namespace

TFileVersionInfoRec& AppVersionInfo() { return ProcessRecord(AppVersionInfoStorage); }

void ReleaseAppVersionInfo() { ReleaseProcessRecord(AppVersionInfoStorage); }
bool BannerShown = false;

void FillVersionInfo(TFileVersionInfoRec& rec, const std::string& version, const std::string& fullVersion,
                     const std::string& description, const std::string& /*internalName*/, bool upperCaseNames) {
  // Split as UTF-16, so that no part ends inside a double-byte character,
  // then each part in the ANSI page.
  const std::u16string path = ParamText(0);
  rec.ProgramDir = AnsiFromParamText(PathDirectory(path));
  rec.ProgramExt = AnsiFromParamText(PathExtension(path));
  const std::string fileName = AnsiFromParamText(PathFileName(path));
  if (upperCaseNames) {
    rec.ProgramFileName = UpperCaseAscii(fileName);
    rec.ProgramName = UpperCaseAscii(ReplaceTextIgnoreCase(rec.ProgramFileName, rec.ProgramExt, "", false));
  } else {
    rec.ProgramFileName = fileName;
    rec.ProgramName = ReplaceTextIgnoreCase(rec.ProgramFileName, rec.ProgramExt, "", false);
  }
  rec.FileVersionTitle = rec.ProgramFileName + " v" + fullVersion;
  rec.FullVersionTitle = rec.ProgramName + " v" + fullVersion;
  rec.VersionTitle = rec.ProgramName + " v" + version;
  rec.Description = description;
  rec.Comments = CommentsNotice;
  rec.LegalNotice = LegalNoticeText;
  rec.Blank1 = rec.Blank2 = rec.Blank3 = rec.Blank4 = rec.Blank5 = rec.Blank6 = rec.Blank7 = "";
  rec.InfoSource = "File info supplied";
  rec.InfoSupplied = true;
}

void ShowAppVersion(const TFileVersionInfoRec& rec, bool withBuildLine, bool withHeader) {
  TFormatSettings& settings = FormatSettings();
  const TFormatSettings saved = settings;
  settings.DateSeparator = '/';
  settings.ShortDateFormat = "yyyy/mm/dd";

  const TFormatSettings stampSettings = BuildStampSettings(settings);
  TDateTime date, moment;
  const std::string dateText =
      " (" +
      (TryReadDate(BuildDate, stampSettings, date) ? FormatDateTime("dd mmm yyyy", date, settings)
                                                   : std::string(BuildDate)) +
      ") ";
  // The build line names the hour only: the "00" of the pattern are no
  // pattern letters and print as they stand.
  const std::string buildText =
      " was compiled on " + (TextToDateTime(BuildDateTime, "mm/dd/yyyy", stampSettings, moment)
                                 ? FormatDateTime("dd mmm yyyy @ hh:00:00", moment, settings)
                                 : std::string(BuildDateTime));

  if (!BannerShown) {
    if (withHeader) {
      WriteAnsiText(ConsoleErr, rec.VersionTitle);
      WriteText(ConsoleErr, PlatformTag);
      WriteAnsiText(ConsoleErr, dateText);
      WriteText(ConsoleErr, "- ");
      WriteText(ConsoleErr, rec.Description);
      WriteLineEnd(ConsoleErr);
      WriteText(ConsoleErr, rec.LegalNotice);
      WriteLineEnd(ConsoleErr);
      WriteText(ConsoleErr, rec.Comments);
      // CR LF and then the line end: the empty line under the header is
      // meant, not a doubled line end to be "fixed".
      WriteText(ConsoleErr, "\r\n");
      WriteLineEnd(ConsoleErr);
    }
    if (withBuildLine) {
      WriteAnsiText(ConsoleErr, rec.FileVersionTitle);
      WriteText(ConsoleErr, PlatformTag);
      WriteAnsiText(ConsoleErr, buildText);
      WriteText(ConsoleErr, ToolchainText);
      WriteLineEnd(ConsoleErr);
      if (withHeader) WriteLineEnd(ConsoleErr);
    }
    BannerShown = true;
  }
  settings = saved;
}
