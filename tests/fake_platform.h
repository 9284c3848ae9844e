// A scriptable stand-in for the platform layer, linked into the unit tests in
// place of the real one: arguments, code pages and every write are under the
// test's control.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "text/codecs.h"

struct TFakeWriteStepRec {
  enum TKind { Short, Interrupt, Fail, Stall } Kind = Short;
  size_t Limit = 0;  // most bytes taken by a Short step
};

struct TFakePlatformRec {
  bool IsOneString = false;
  std::u16string Line;  // the one-string command line, when IsOneString
  std::vector<std::string> Args;
  std::string ExePath = "/opt/tools/tokloc";
  std::vector<std::string> Input;  // what each read of standard input gets
  bool InputFails = false;         // the read after the last one fails
  uint64_t InputFileSize = 0;      // what standard input says of its size: 0, no regular file
  uint32_t AnsiCp = CodePageUtf8;
  uint32_t OutputCp = CodePageUtf8;
  uint32_t OutputCpLater = 0;                      // when set, what every later read answers
  bool CountsCharacters = false;                   // a Win32 console in a Unicode page
  bool OutIsOwnFile = false;                       // CutStreamEnd cuts Out, as a file of our own
  std::map<uint32_t, std::u16string> LocaleTexts;  // items the locale supplies
  std::map<uint32_t, std::string> LocaleChars;
  TSystemTimeRec Now = {2026, 12, 8, 18, 30, 15, 250};
  // Write call number (from 1, both streams) -> what that call does; calls
  // not listed take all bytes.
  std::map<int, TFakeWriteStepRec> Script;
  int WriteCalls = 0;
  std::string Out, Err;                                   // bytes taken per stream
  std::vector<std::string> OutPieces;                     // the bytes each stdout call was given
  std::vector<std::pair<TStdStream, std::string>> Taken;  // per call, in order
};

extern TFakePlatformRec Fake;

void ResetFake();

// Runs body in a fresh process: a child of the test process, which itself
// never runs code that keeps process state, so every child starts from the
// state a process starts with. What the child wrote (Fake.Out, Fake.Err,
// the pieces and calls) comes back into Fake; a failed assertion in the
// child fails the test. EndProcess ends the child there and then, as it
// ends a real process. Returns the exit code the body ended with through
// EndProcess, or -1 when it returned.
int32_t RunInFreshProcess(const std::function<void()>& body);

// Runs the whole program as main does with these arguments, in a fresh
// process, and returns its exit code; output lands in Fake.Out and Fake.Err.
int32_t RunFakeProgram(const std::vector<std::string>& args);

// True when text is exactly the report of a failed write.
bool IsFailureReport(const std::string& text);
