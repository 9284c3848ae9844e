#include "core/version_info.h"

#include <gtest/gtest.h>

#include "core/format_settings.h"
#include "core/params.h"
#include "core/path_parts.h"
#include "core/replace_text.h"
#include "core/startup.h"
#include "tests/fake_platform.h"

namespace {

TEST(PathParts, SplitsDirectoryNameAndExtension) {
  struct Case { const char* path; const char* dir; const char* name; const char* ext; } cases[] = {
      {"C:\\Tools\\Tool.EXE", "C:\\Tools", "Tool.EXE", ".EXE"},
      {"C:\\Tool.exe", "C:\\", "Tool.exe", ".exe"},
      {"C:Tool.exe", "C:", "Tool.exe", ".exe"},
      {"\\Tool.exe", "\\", "Tool.exe", ".exe"},
      {"Tool.exe", "", "Tool.exe", ".exe"},
      {"/usr/local/bin/tokloc", "/usr/local/bin", "tokloc", ""},
      {"/tokloc", "/", "tokloc", ""},
      {".profile", "", ".profile", ""},
      {"C:\\x\\.profile", "C:\\x", ".profile", ""},
      {"C:\\x.d\\tool", "C:\\x.d", "tool", ""},
      {"C:\\x\\my.exe.tool.exe", "C:\\x", "my.exe.tool.exe", ".exe"},
      {"C:\\\\Tool", "C:\\\\", "Tool", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PathDirectory(c.path), c.dir) << c.path;
    EXPECT_EQ(PathFileName(c.path), c.name) << c.path;
    EXPECT_EQ(PathExtension(c.path), c.ext) << c.path;
  }
}

TEST(ReplaceTextIgnoreCase, ReplacesWithoutRegardToCase) {
  ResetFake();
  EXPECT_EQ(ReplaceTextIgnoreCase("Tool.Exe", ".EXE", "", false), "Tool");
  EXPECT_EQ(ReplaceTextIgnoreCase("my.exe.tool.EXE", ".exe", "", false), "my.tool");
  EXPECT_EQ(ReplaceTextIgnoreCase("my.exe.tool.EXE", ".exe", "", true), "my.tool.EXE");
  EXPECT_EQ(ReplaceTextIgnoreCase("Tool", "", "x", false), "Tool");
  EXPECT_EQ(ReplaceTextIgnoreCase("aaaa", "aa", "b", false), "bb");  // no overlaps
  EXPECT_EQ(ReplaceTextIgnoreCase("aXa", "x", "xx", false), "axxa"); // no rescanning
  EXPECT_EQ(ReplaceTextIgnoreCase("GRÜSSE grüsse", "grüsse", "-", false), "- -");
  Fake.AnsiCp = CodePageWindows1252;
  EXPECT_EQ(ReplaceTextIgnoreCase("\xDC" "BER \xFC" "ber", "\xFC" "BER", "x", false), "x x");
}

TEST(FillVersionInfo, DerivesNamesFromTheExecutablePath) {
  struct Case {
    const char* path;
    bool upper;
    const char* fileName;
    const char* name;
    const char* ext;
    const char* dir;
  } cases[] = {
      {"C:\\Tools\\Tool.EXE", false, "Tool.EXE", "Tool", ".EXE", "C:\\Tools"},
      {"C:\\Tools\\Tool.EXE", true, "TOOL.EXE", "TOOL", ".EXE", "C:\\Tools"},
      {"C:\\Tools\\tool.exe", true, "TOOL.EXE", "TOOL", ".exe", "C:\\Tools"},
      {"C:\\x\\my.exe.tool.exe", false, "my.exe.tool.exe", "my.tool", ".exe", "C:\\x"},
      {"/usr/bin/tokloc", false, "tokloc", "tokloc", "", "/usr/bin"},
      {"C:\\Tool.exe", false, "Tool.exe", "Tool", ".exe", "C:\\"},
  };
  for (const auto& c : cases) {
    ResetFake();
    Fake.ExePath = c.path;
    LoadParams();
    TFileVersionInfoRec rec;
    rec.Blank3 = "stale";
    FillVersionInfo(rec, "1.1.0", "1.1.0.50", "Describes it", "internal", c.upper);
    EXPECT_EQ(rec.ProgramFileName, c.fileName) << c.path;
    EXPECT_EQ(rec.ProgramName, c.name) << c.path;
    EXPECT_EQ(rec.ProgramExt, c.ext) << c.path;
    EXPECT_EQ(rec.ProgramDir, c.dir) << c.path;
    EXPECT_EQ(rec.VersionTitle, std::string(c.name) + " v1.1.0");
    EXPECT_EQ(rec.FileVersionTitle, std::string(c.fileName) + " v1.1.0.50");
    EXPECT_EQ(rec.FullVersionTitle, std::string(c.name) + " v1.1.0.50");
    EXPECT_EQ(rec.Description, "Describes it");
    EXPECT_EQ(rec.InfoSource, "File info supplied");
    EXPECT_TRUE(rec.InfoSupplied);
    EXPECT_EQ(rec.Blank3, "");
    EXPECT_FALSE(rec.LegalNotice.empty());
    EXPECT_FALSE(rec.Comments.empty());
  }
}

// A fresh process with its start-up done and its date settings loaded.
void StartBannerProcess() {
  ResetFake();
  Fake.ExePath = "C:\\Tools\\Tool.exe";
  LoadParams();
  CoreStartup();
  FormatSettings();
  BannerShown = false;
}

// Runs ShowAppVersion calls in the current process; returns stderr.
std::string ShowBanner(std::initializer_list<std::pair<bool, bool>> calls) {
  TFileVersionInfoRec rec;
  FillVersionInfo(rec, "1.1.0", "1.1.0.50", "Says what it does", "", false);
  for (const auto& [withBuildLine, withHeader] : calls) ShowAppVersion(rec, withBuildLine, withHeader);
  return Fake.Err;
}

std::string BannerOf(std::initializer_list<std::pair<bool, bool>> calls) {
  StartBannerProcess();
  return ShowBanner(calls);
}

size_t CountLines(const std::string& text) {
  size_t n = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
  return n;
}

TEST(ShowAppVersion, WritesTheLinesTheFlagsAskFor) {
  const std::string header = BannerOf({{false, true}});
  EXPECT_EQ(header.rfind("Tool v1.1.0 x64 (", 0), 0u) << header;
  EXPECT_NE(header.find(") - Says what it does\r\n"), std::string::npos);
  EXPECT_EQ(CountLines(header), 4u);
  EXPECT_EQ(header.substr(header.size() - 4), "\r\n\r\n");

  const std::string both = BannerOf({{true, true}});
  EXPECT_EQ(both.substr(0, header.size()), header);
  EXPECT_EQ(both.substr(header.size()).rfind("Tool.exe v1.1.0.50 x64 was compiled on ", 0), 0u);
  EXPECT_EQ(CountLines(both), 6u);
  EXPECT_EQ(both.substr(both.size() - 4), "\r\n\r\n");

  const std::string buildOnly = BannerOf({{true, false}});
  EXPECT_EQ(buildOnly, both.substr(header.size(), both.size() - header.size() - 2));

  EXPECT_EQ(BannerOf({{false, false}}), "");
}

TEST(ShowAppVersion, WritesOncePerProcess) {
  EXPECT_EQ(BannerOf({{false, false}, {true, true}}), "");
  const std::string once = BannerOf({{true, false}});
  EXPECT_EQ(BannerOf({{true, false}, {true, true}, {true, false}}), once);
  EXPECT_TRUE(BannerShown);
}

TEST(ShowAppVersion, RestoresTheDateSettings) {
  StartBannerProcess();
  TFormatSettings& settings = FormatSettings();
  const TFormatSettings before = settings;
  settings.DateSeparator = '.';
  settings.ShortDateFormat = "dd.mm.yyyy";
  settings.TimeSeparator = '.';
  const std::string banner = ShowBanner({{true, false}});
  EXPECT_EQ(settings.DateSeparator, '.');
  EXPECT_EQ(settings.ShortDateFormat, "dd.mm.yyyy");
  // A locale with another time separator still gets its banner, printed
  // with that separator.
  EXPECT_NE(banner.find(".00.00 using "), std::string::npos) << banner;
  settings = before;
}

TEST(ShowAppVersion, PrintsMonthNamesOfTheSettings) {
  StartBannerProcess();
  TFormatSettings& settings = FormatSettings();
  const TFormatSettings before = settings;
  for (auto& name : settings.ShortMonthNames) name = "Mon";
  const std::string banner = ShowBanner({{true, true}});
  EXPECT_NE(banner.find(" Mon "), std::string::npos) << banner;
  settings = before;
}

}  // namespace
