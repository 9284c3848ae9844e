#include "tests/fake_platform.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>

TFakePlatformRec Fake;

void ResetFake() { Fake = TFakePlatformRec(); }

namespace {

void PutNumber(std::string& blob, uint64_t n) { blob.append(reinterpret_cast<const char*>(&n), sizeof n); }
void PutText(std::string& blob, const std::string& text) {
  PutNumber(blob, text.size());
  blob += text;
}

uint64_t TakeNumber(const std::string& blob, size_t& at) {
  uint64_t n = 0;
  if (at + sizeof n <= blob.size()) std::memcpy(&n, blob.data() + at, sizeof n);
  at += sizeof n;
  return n;
}
std::string TakeText(const std::string& blob, size_t& at) {
  const size_t n = TakeNumber(blob, at);
  std::string text = at <= blob.size() ? blob.substr(at, n) : std::string();
  at += n;
  return text;
}

}  // namespace

namespace {

// The child's end of the pipe to the test process; -1 outside a fresh
// process, where no program code may run.
int ReportFd = -1;

// Hands the child's record and exit code to the test process and ends the
// child: nothing unwinds through the program, which has no exceptions.
[[noreturn]] void EndFreshProcess(int32_t code) {
  if (ReportFd < 0) {
    fprintf(stderr, "program code ended a process outside RunInFreshProcess\n");
    abort();
  }
  std::string blob;
  PutNumber(blob, static_cast<uint32_t>(code));
  PutNumber(blob, static_cast<uint64_t>(Fake.WriteCalls));
  PutText(blob, Fake.Out);
  PutText(blob, Fake.Err);
  PutNumber(blob, Fake.OutPieces.size());
  for (const std::string& piece : Fake.OutPieces) PutText(blob, piece);
  PutNumber(blob, Fake.Taken.size());
  for (const auto& [stream, bytes] : Fake.Taken) {
    PutNumber(blob, stream == TStdStream::Output ? 0 : 1);
    PutText(blob, bytes);
  }
  for (size_t at = 0; at < blob.size();) {
    const ssize_t n = write(ReportFd, blob.data() + at, blob.size() - at);
    if (n <= 0) _exit(3);
    at += static_cast<size_t>(n);
  }
  fflush(nullptr);  // the child's failure messages
  _exit(testing::Test::HasFailure() ? 1 : 0);
}

}  // namespace

int32_t RunInFreshProcess(const std::function<void()>& body) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return -1;
  }
  fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    ReportFd = pipeFds[1];
    body();
    EndFreshProcess(-1);
  }
  close(pipeFds[1]);
  std::string blob;
  char buf[65536];
  for (ssize_t n; (n = read(pipeFds[0], buf, sizeof buf)) > 0;) blob.append(buf, static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the fresh process failed (status " << status << ")";
  size_t at = 0;
  const int32_t code = static_cast<int32_t>(static_cast<uint32_t>(TakeNumber(blob, at)));
  Fake.WriteCalls = static_cast<int>(TakeNumber(blob, at));
  Fake.Out = TakeText(blob, at);
  Fake.Err = TakeText(blob, at);
  Fake.OutPieces.resize(TakeNumber(blob, at));
  for (std::string& piece : Fake.OutPieces) piece = TakeText(blob, at);
  Fake.Taken.resize(TakeNumber(blob, at));
  for (auto& [stream, bytes] : Fake.Taken) {
    stream = TakeNumber(blob, at) == 0 ? TStdStream::Output : TStdStream::Error;
    bytes = TakeText(blob, at);
  }
  return code;
}

bool IsFailureReport(const std::string& text) {
  static const std::regex Report(
      "An unhandled exception occurred at \\$[0-9A-F]{16}:\r\n"
      "EInOutError: Disk Full\r\n"
      "(  \\$[0-9A-F]{16}\r\n)+"
      "\r\n");
  return std::regex_match(text, Report);
}

void PlatformStart(int, char**) {}

TRawCommandLineRec ReadRawCommandLine() {
  TRawCommandLineRec raw;
  raw.IsOneString = Fake.IsOneString;
  raw.Line = Fake.Line;
  if (!Fake.IsOneString) {
    // An argv of Fake.Args, as a POSIX process has one.
    static std::vector<char*> argv;
    argv.clear();
    for (std::string& arg : Fake.Args) argv.push_back(arg.data());
    raw.ArgCount = static_cast<int>(argv.size());
    raw.Args = argv.data();
  }
  return raw;
}

std::u16string ExecutablePath() { return NarrowToWide(Fake.ExePath, Fake.AnsiCp); }

TWriteResultRec WriteStdStream(TStdStream stream, const char* data, size_t size) {
  ++Fake.WriteCalls;
  size_t take = size;
  if (auto it = Fake.Script.find(Fake.WriteCalls); it != Fake.Script.end()) {
    switch (it->second.Kind) {
      case TFakeWriteStepRec::Interrupt: return {TWriteResultRec::Interrupted, 0};
      case TFakeWriteStepRec::Fail: return {TWriteResultRec::Failed, 0};
      case TFakeWriteStepRec::Stall: return {TWriteResultRec::Written, 0};
      case TFakeWriteStepRec::Short: take = std::min(size, it->second.Limit); break;
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

bool WriteCountsCharacters(TStdStream) { return Fake.CountsCharacters; }

bool StreamIsUnshared(TStdStream) { return false; }

void CutStreamEnd(TStdStream stream, uint64_t count) {
  if (stream == TStdStream::Output && Fake.OutIsOwnFile)
    Fake.Out.resize(Fake.Out.size() - std::min<size_t>(count, Fake.Out.size()));
}

TInputRec StandardInput() { return TInputRec(); }

bool OpenInputFile(std::string_view, const std::u16string&, TInputRec&, std::string& reason) {
  reason = "No such file or directory";
  return false;
}

void CloseInput(TInputRec& input) { input = TInputRec(); }

std::string LastErrorText() { return "Input/output error"; }

uint64_t InputFileSize(const TInputRec&) { return Fake.InputFileSize; }

void* AllocateBulkRoom(size_t size) { return std::malloc(size); }

TReadResultRec ReadInput(const TInputRec&, char* buffer, size_t size) {
  static size_t next = 0, at = 0;  // the chunk being read, and how far
  if (next >= Fake.Input.size()) return {Fake.InputFails ? TReadResultRec::Failed : TReadResultRec::Read, 0};
  const std::string& chunk = Fake.Input[next];
  const size_t take = std::min(size, chunk.size() - at);
  std::memcpy(buffer, chunk.data() + at, take);
  at += take;
  if (at == chunk.size()) {
    ++next;
    at = 0;
  }
  return {TReadResultRec::Read, take};
}

uint32_t InputCodePage() { return Fake.AnsiCp; }
// Read once, at the first call of the process, as the real layers do;
// afterwards the console's page may change (OutputCpLater).
uint32_t OutputCodePage() {
  static const uint32_t AtStart = Fake.OutputCp;
  if (Fake.OutputCpLater) Fake.OutputCp = Fake.OutputCpLater;
  return AtStart;
}
uint32_t AnsiCodePage() { return Fake.AnsiCp; }

std::u16string NarrowToWide(std::string_view text, uint32_t cp) { return DecodeFromCodePage(text, cp); }

std::string WideToNarrow(std::u16string_view text, uint32_t cp) { return EncodeToCodePage(text, cp); }

void EndProcess(int32_t exitCode) { EndFreshProcess(exitCode); }

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
