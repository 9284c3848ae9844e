// The program's identity record and its version banner.
#pragma once

#include <string>

struct TFileVersionInfoRec {
  bool InfoSupplied = false;
  std::string ProgramFileName;   // file name with extension, no directory
  std::string ProgramName;       // ProgramFileName without its extension
  std::string ProgramExt;        // extension with its "."
  std::string VersionTitle;      // ProgramName + " v" + short version
  std::string FileVersionTitle;  // ProgramFileName + " v" + full version
  std::string FullVersionTitle;  // ProgramName + " v" + full version
  std::string Blank1, Blank2, Blank3, Blank4, Blank5;
  std::string Description;
  std::string Blank6;
  std::string LegalNotice;
  std::string Comments;
  std::string InfoSource;
  std::string Blank7;
  std::string ProgramDir;
};

// The process-wide identity record: empty until the driver fills it.
TFileVersionInfoRec& AppVersionInfo();

// Empties AppVersionInfo; run by the core's shutdown.
void ReleaseAppVersionInfo();

// Set by the first ShowAppVersion call; the banner is shown at most once.
extern bool BannerShown;

// Fills rec from the running executable's path (argument 0), the versions,
// the description and the build-time notices. internalName is accepted and
// not kept. With upperCaseNames the file and program names are upper-cased
// (ASCII letters only).
void FillVersionInfo(TFileVersionInfoRec& rec, const std::string& version, const std::string& fullVersion,
                     const std::string& description, const std::string& internalName, bool upperCaseNames);

// Writes the banner for rec to standard error through ConsoleErr, on the
// first call only: with withHeader the title, notice and comments lines and
// an empty line; with withBuildLine the build line (and an empty line after
// it when the header came too). The date settings are restored afterwards.
void ShowAppVersion(const TFileVersionInfoRec& rec, bool withBuildLine, bool withHeader);
