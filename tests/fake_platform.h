// A scriptable stand-in for the platform layer, linked into the unit tests in
// place of the real one: arguments, code pages and every write are under the
// test's control.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

struct TFakeWriteStep {
  enum TKind { Short, Interrupt, Fail, Stall } Kind = Short;
  size_t Limit = 0;  // most bytes taken by a Short step
};

struct TFakePlatformRec {
  bool IsOneString = false;
  std::string Line;
  std::vector<std::string> Args;
  std::string ExePath = "/opt/tools/tokloc";
  uint32_t AnsiCp = CodePageUtf8;
  uint32_t OutputCp = CodePageUtf8;
  bool Console = false;
  std::map<uint32_t, std::u16string> LocaleTexts;  // items the locale supplies
  std::map<uint32_t, std::string> LocaleChars;
  TSystemTimeRec Now = {2026, 12, 8, 18, 30, 15, 250};
  // Write call number (from 1, both streams) -> what that call does; calls
  // not listed take all bytes.
  std::map<int, TFakeWriteStep> Script;
  int WriteCalls = 0;
  std::string Out, Err;                 // bytes taken per stream
  std::vector<std::string> OutPieces;   // the bytes each stdout call was given
  std::vector<std::pair<TStdStream, std::string>> Taken;  // per call, in order
};

extern TFakePlatformRec Fake;

// Thrown by the fake EndProcess.
struct TFakeExit {
  int32_t Code;
};

void ResetFake();

// Runs the whole program as main does with these arguments and returns its
// exit code; output lands in Fake.Out and Fake.Err.
int32_t RunFakeProgram(const std::vector<std::string>& args);
