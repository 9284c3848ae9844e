#include "core/params.h"

#include "platform/platform.h"

namespace {

// Views of the arguments: into argv where the platform splits them, into
// SplitParams where we do.
std::vector<std::string> SplitParams;
std::vector<std::string_view> Params;
std::string ProgramPath;
bool ProgramPathRead = false;

bool IsSeparator(char c) {
  return static_cast<unsigned char>(c) >= 0x01 && static_cast<unsigned char>(c) <= 0x20;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> tokens;
  size_t i = 0;
  const size_t n = line.size();
  bool first = true;
  while (i < n) {
    while (i < n && IsSeparator(line[i])) ++i;
    if (i >= n) break;
    std::string token;
    bool quoted = false;
    while (i < n && (quoted || !IsSeparator(line[i]))) {
      if (line[i] != '"') {
        token.push_back(line[i++]);
      } else if (i + 1 < n && line[i + 1] == '"') {
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    }
    if (!first) tokens.push_back(std::move(token));
    first = false;
  }
  return tokens;
}

void LoadParams() {
  ProgramPathRead = false;
  TRawCommandLineRec raw = ReadRawCommandLine();
  if (raw.IsOneString) {
    SplitParams = SplitCommandLine(raw.Line);
    Params.assign(SplitParams.begin(), SplitParams.end());
  } else {
    SplitParams.clear();
    Params = std::move(raw.Args);
  }
}

int32_t ParamCount() { return static_cast<int32_t>(Params.size()); }

std::string_view ParamStr(int32_t index) {
  if (index == 0) {
    // Asked for by the identity record and the core alike; one look will do.
    if (!ProgramPathRead) {
      ProgramPath = ExecutablePath();
      if (ProgramPath.size() > 255) ProgramPath.resize(255);
      ProgramPathRead = true;
    }
    return ProgramPath;
  }
  if (index < 0 || index > ParamCount()) return {};
  return Params[static_cast<size_t>(index - 1)];
}
