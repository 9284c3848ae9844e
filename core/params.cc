#include "core/params.h"

#include "core/process_record.h"
#include "core/text_conversion.h"
#include "platform/platform.h"
#include "text/ascii.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace {

// The arguments: argv where the platform splits them, our own split of the
// UTF-16 command line where it does not (with each argument's ANSI form);
// and argument 0, read when first asked.
struct TParamsRec {
  std::vector<std::u16string> Wide;
  std::vector<std::string> Narrow;
  std::u16string ProgramPath;
  std::string ProgramPathAnsi;
  bool ProgramPathRead = false;
};
TProcessRec<TParamsRec> ParamsStorage;
bool ArgsAreSplit = false;  // Wide and Narrow hold them, not Argv
int32_t ArgCount = 0;
char* const* Argv = nullptr;

bool IsSeparator(char16_t c) { return c >= 0x01 && c <= 0x20; }

bool IsAsciiWide(std::u16string_view text) {
  for (char16_t c : text)
    if (c >= 0x80) return false;
  return true;
}

// Asked for by the identity record and the core alike; one look will do.
// The path is cut by characters, never inside one.
TParamsRec& ParamsWithProgramPath() {
  TParamsRec& params = ProcessRecord(ParamsStorage);
  if (!params.ProgramPathRead) {
    params.ProgramPath = ExecutablePath();
    if (params.ProgramPath.size() > 255) params.ProgramPath.resize(SplitsPairAt(params.ProgramPath, 255) ? 256 : 255);
    params.ProgramPathAnsi = AnsiFromParamText(params.ProgramPath);
    params.ProgramPathRead = true;
  }
  return params;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> tokens;
  size_t i = 0;
  const size_t n = line.size();
  bool first = true;
  while (i < n) {
    while (i < n && IsSeparator(line[i])) ++i;
    if (i >= n) break;
    std::u16string token;
    bool quoted = false;
    while (i < n && (quoted || !IsSeparator(line[i]))) {
      if (line[i] != u'"') {
        token.push_back(line[i++]);
      } else if (i + 1 < n && line[i + 1] == u'"') {
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
    params.Wide = SplitCommandLine(raw.Line);
    for (const std::u16string& arg : params.Wide) params.Narrow.push_back(WideToNarrow(arg, AnsiCodePage()));
    ArgCount = static_cast<int32_t>(params.Wide.size());
  } else {
    ArgCount = raw.ArgCount;
    Argv = raw.Args;
  }
}

int32_t ParamCount() { return ArgCount; }

std::string AnsiFromParamText(std::u16string_view text) {
  return NarrowFromWide(text, AnsiCodePage(), ParamCodePage());
}

std::string_view ParamStr(int32_t index) {
  if (index == 0) return ParamsWithProgramPath().ProgramPathAnsi;
  if (index < 0 || index > ParamCount()) return {};
  if (ArgsAreSplit) return ProcessRecord(ParamsStorage).Narrow[static_cast<size_t>(index - 1)];
  return Argv[index - 1];
}

std::u16string ParamText(int32_t index) {
  if (index == 0) return ParamsWithProgramPath().ProgramPath;
  if (index < 1 || index > ParamCount()) return {};
  if (ArgsAreSplit) return ProcessRecord(ParamsStorage).Wide[static_cast<size_t>(index - 1)];
  return NarrowToWide(Argv[index - 1], AnsiCodePage());
}

bool ParamAscii(int32_t index, std::string_view& ascii) {
  if (index < 1 || index > ParamCount()) {
    ascii = {};
    return true;
  }
  if (ArgsAreSplit && !IsAsciiWide(ProcessRecord(ParamsStorage).Wide[static_cast<size_t>(index - 1)])) return false;
  ascii = ParamStr(index);
  return ArgsAreSplit || IsAsciiText(ascii);
}

uint32_t ParamStrCodePage() { return AnsiCodePage(); }

uint32_t ParamCodePage() { return ArgsAreSplit ? CodePageUtf16 : AnsiCodePage(); }
