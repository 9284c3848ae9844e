#include "core/path_parts.h"

#include <gtest/gtest.h>

namespace {

TEST(PathParts, SplitsDirectoryNameAndExtension) {
  struct TCaseRec {
    const char* path;
    const char* dir;
    const char* name;
    const char* ext;
  } cases[] = {
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
    const std::string path = c.path;
    EXPECT_EQ(PathDirectory(path), c.dir) << c.path;
    EXPECT_EQ(PathFileName(path), c.name) << c.path;
    EXPECT_EQ(PathExtension(path), c.ext) << c.path;
  }
}

}  // namespace
