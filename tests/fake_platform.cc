#include "tests/fake_platform.h"

#include "app/driver.h"
#include "platform/charset.h"

TFakePlatformRec Fake;

void ResetFake() { Fake = TFakePlatformRec(); }

int32_t RunFakeProgram(const std::vector<std::string>& args) {
  Fake.Args = args;
  try {
    PlatformStart(0, nullptr);
    EndProcess(RunProcess());
  } catch (const TFakeExit& e) {
    return e.Code;
  }
}

void PlatformStart(int, char**) {}

TRawCommandLineRec ReadRawCommandLine() {
  TRawCommandLineRec raw;
  raw.IsOneString = Fake.IsOneString;
  raw.Line = Fake.Line;
  if (!Fake.IsOneString) raw.Args.assign(Fake.Args.begin(), Fake.Args.end());
  return raw;
}

std::string ExecutablePath() { return Fake.ExePath; }

TWriteResultRec WriteStdStream(TStdStream stream, const char* data, size_t size) {
  ++Fake.WriteCalls;
  size_t take = size;
  if (auto it = Fake.Script.find(Fake.WriteCalls); it != Fake.Script.end()) {
    switch (it->second.Kind) {
      case TFakeWriteStep::Interrupt: return {TWriteResultRec::Interrupted, 0};
      case TFakeWriteStep::Fail: return {TWriteResultRec::Failed, 0};
      case TFakeWriteStep::Stall: return {TWriteResultRec::Written, 0};
      case TFakeWriteStep::Short: take = std::min(size, it->second.Limit); break;
    }
  }
  Fake.Taken.emplace_back(stream, std::string(data, take));
  if (stream == TStdStream::Output) {
    Fake.OutPieces.emplace_back(data, size);
    Fake.Out.append(data, take);
  } else {
    Fake.Err.append(data, take);
  }
  return {TWriteResultRec::Written, take};
}

bool StdStreamIsConsole(TStdStream) { return Fake.Console; }
uint32_t OutputCodePage() { return Fake.OutputCp; }
uint32_t AnsiCodePage() { return Fake.AnsiCp; }

std::u16string NarrowToWide(std::string_view text, uint32_t cp) {
  return Utf16FromCodePage(text, cp);
}

std::string WideToNarrow(std::u16string_view text, uint32_t cp) {
  return CodePageFromUtf16(text, cp);
}

void EndProcess(int32_t exitCode) { throw TFakeExit{exitCode}; }

std::string UpperCaseAnsi(const std::string& text) { return UpperCaseSameLength(text, Fake.AnsiCp); }

TSystemTimeRec LocalTime() { return Fake.Now; }

bool ReadLocaleText(uint32_t, uint32_t item, std::u16string& text) {
  const auto it = Fake.LocaleTexts.find(item);
  if (it == Fake.LocaleTexts.end()) return false;
  text = it->second;
  return true;
}

bool ReadLocaleChars(uint32_t, uint32_t item, std::string& chars) {
  const auto it = Fake.LocaleChars.find(item);
  if (it == Fake.LocaleChars.end() || it->second.size() > 3) return false;
  chars = it->second;
  return true;
}

uint32_t CurrentProcessId() { return 4242; }
