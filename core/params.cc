#include "core/params.h"

#include "core/process_record.h"
#include "platform/platform.h"

namespace {

// The arguments: argv where the platform splits them, our own split of the
// command line where it does not; and argument 0, read when first asked.
struct TParamsRec {
  std::vector<std::string> Split;
  std::string ProgramPath;
  bool ProgramPathRead = false;
};
TProcessRec<TParamsRec> ParamsStorage;
bool ArgsAreSplit = false;  // Split holds them, not Argv
int32_t ArgCount = 0;
char* const* Argv = nullptr;

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
  ReleaseProcessRecord(ParamsStorage);
  const TRawCommandLineRec raw = ReadRawCommandLine();
  ArgsAreSplit = raw.IsOneString;
  if (ArgsAreSplit) {
    TParamsRec& params = ProcessRecord(ParamsStorage);
    params.Split = SplitCommandLine(raw.Line);
    ArgCount = static_cast<int32_t>(params.Split.size());
  } else {
    ArgCount = raw.ArgCount;
    Argv = raw.Args;
  }
}

int32_t ParamCount() { return ArgCount; }

std::string_view ParamStr(int32_t index) {
  if (index == 0) {
    // Asked for by the identity record and the core alike; one look will do.
    TParamsRec& params = ProcessRecord(ParamsStorage);
    if (!params.ProgramPathRead) {
      params.ProgramPath = ExecutablePath();
      if (params.ProgramPath.size() > 255) params.ProgramPath.resize(255);
      params.ProgramPathRead = true;
    }
    return params.ProgramPath;
  }
  if (index < 0 || index > ParamCount()) return {};
  if (ArgsAreSplit) return ProcessRecord(ParamsStorage).Split[static_cast<size_t>(index - 1)];
  return Argv[index - 1];
}
