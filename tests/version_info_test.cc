#include "core/version_info.h"

#include <gtest/gtest.h>

#include "build_info.h"
#include "core/format_settings.h"
#include "core/params.h"
#include "core/startup.h"
#include "tests/fake_platform.h"

namespace {

TEST(FillVersionInfo, DerivesNamesFromTheExecutablePath) {
  struct TCaseRec {
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
    RunInFreshProcess([&] {
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
      EXPECT_EQ(rec.LegalNotice, LegalNoticeText);
      EXPECT_EQ(rec.Comments, CommentsNotice);
    });
  }
}

// Runs ShowAppVersion calls in a fresh process after the core's start-up;
// returns standard error. With editSettings, the process settings are
// changed first and must read the same after the calls.
std::string BannerOf(std::initializer_list<std::pair<bool, bool>> calls,
                     void (*editSettings)(TFormatSettings&) = nullptr) {
  ResetFake();
  Fake.ExePath = "C:\\Tools\\Tool.exe";
  RunInFreshProcess([&] {
    LoadParams();
    CoreStartup();
    TFileVersionInfoRec rec;
    FillVersionInfo(rec, "1.1.0", "1.1.0.50", "Says what it does", "", false);
    TFormatSettings& settings = FormatSettings();
    if (editSettings) editSettings(settings);
    const TFormatSettings before = settings;
    for (const auto& [withBuildLine, withHeader] : calls) ShowAppVersion(rec, withBuildLine, withHeader);
    EXPECT_TRUE(BannerShown);
    EXPECT_EQ(settings.DateSeparator, before.DateSeparator);
    EXPECT_EQ(settings.ShortDateFormat, before.ShortDateFormat);
    EXPECT_EQ(settings.ShortMonthNames, before.ShortMonthNames);
  });
  return Fake.Err;
}

size_t CountLines(const std::string& text) {
  size_t n = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++n;
  return n;
}

TEST(ShowAppVersion, WritesTheLinesTheFlagsAskFor) {
  const std::string header = BannerOf({{false, true}});
  EXPECT_EQ(header.rfind(std::string("Tool v1.1.0") + PlatformTag + " (", 0), 0u) << header;
  EXPECT_NE(header.find(") - Says what it does\r\n"), std::string::npos);
  EXPECT_EQ(CountLines(header), 4u);
  EXPECT_EQ(header.substr(header.size() - 4), "\r\n\r\n");

  const std::string both = BannerOf({{true, true}});
  EXPECT_EQ(both.substr(0, header.size()), header);
  EXPECT_EQ(both.substr(header.size()).rfind(std::string("Tool.exe v1.1.0.50") + PlatformTag + " was compiled on ", 0),
            0u);
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
}

TEST(ShowAppVersion, RestoresTheDateSettings) {
  // A locale with another time separator still gets its banner, printed
  // with that separator; BannerOf checks the settings are restored.
  const std::string banner = BannerOf({{true, false}}, [](TFormatSettings& settings) {
    settings.DateSeparator = '.';
    settings.ShortDateFormat = "dd.mm.yyyy";
    settings.TimeSeparator = '.';
  });
  EXPECT_NE(banner.find(".00.00 using "), std::string::npos) << banner;
}

TEST(ShowAppVersion, PrintsMonthNamesOfTheSettings) {
  const std::string banner = BannerOf({{true, true}}, [](TFormatSettings& settings) {
    for (auto& name : settings.ShortMonthNames) name = "Mon";
  });
  EXPECT_NE(banner.find(" Mon "), std::string::npos) << banner;
}

}  // namespace
