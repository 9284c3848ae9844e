// Win32 implementation of the platform layer.
#include "platform/platform.h"

#include <windows.h>

#include <cstdlib>

#include "text/ascii.h"
#include "text/code_page.h"
#include "text/utf16.h"
#include "text/utf8.h"

namespace {

constexpr uint32_t CodePageUndecided = ~0u;
uint32_t CachedOutputCodePage = CodePageUndecided;

HANDLE StreamHandle(TStdStream stream) {
  return GetStdHandle(stream == TStdStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// The conversion APIs reject code pages they do not know (and the UTF-16
// "code pages" 1200/1201); fall back to the ANSI page so we never fail.
int ToWide(std::string_view text, uint32_t cp, wchar_t* out, int outSize) {
  const int n = MultiByteToWideChar(cp, 0, text.data(), static_cast<int>(text.size()), out, outSize);
  if (n > 0 || cp == CP_ACP) return n;
  return MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, outSize);
}

int ToNarrow(std::u16string_view text, uint32_t cp, char* out, int outSize) {
  const auto* w = reinterpret_cast<const wchar_t*>(text.data());
  const int n = WideCharToMultiByte(cp, 0, w, static_cast<int>(text.size()), out, outSize, nullptr, nullptr);
  if (n > 0 || cp == CP_ACP) return n;
  return WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), out, outSize, nullptr, nullptr);
}

}  // namespace

void PlatformStart(int, char**) {
  // The console page counts as it stood at start, even if a child changes it.
  OutputCodePage();
}

// The UTF-16 line as the user typed it: GetCommandLineA would hand over the
// ANSI page's best fit of it, where a fullwidth quotation mark becomes a
// real one and splits the argument it stood in.
TRawCommandLineRec ReadRawCommandLine() {
  TRawCommandLineRec raw;
  raw.IsOneString = true;
  if (const wchar_t* line = GetCommandLineW()) raw.Line = reinterpret_cast<const char16_t*>(line);
  return raw;
}

// The UTF-16 path, as the command line is read: GetModuleFileNameA would
// hand over the ANSI page's best fit, cut at 260 bytes. A path that does not
// fit fills the buffer exactly; a larger one is asked for then.
std::u16string ExecutablePath() {
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD n =
        GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(path.data()), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size() || path.size() >= 0x8000) {
      path.resize(n < path.size() ? n : path.size());
      return path;
    }
    path.resize(2 * path.size());
  }
}

TWriteResultRec WriteStdStream(TStdStream stream, const char* data, size_t size) {
  DWORD written = 0;
  if (!WriteFile(StreamHandle(stream), data, static_cast<DWORD>(size), &written, nullptr)) {
    // Wine reports a disk that filled up part way as a failure with the
    // bytes it did write: a short write, and the next one fails.
    if (written > 0 && written <= size) return {TWriteResultRec::Written, written};
    // A pipe whose reader has closed it: "being closed" on Windows, "not
    // connected" under Wine, or "broken".
    const DWORD error = GetLastError();
    if (error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED || error == ERROR_BROKEN_PIPE)
      return {TWriteResultRec::ReaderGone, 0};
    return {TWriteResultRec::Failed, 0};
  }
  return {TWriteResultRec::Written, written};
}

TInputRec StandardInput() { return TInputRec{reinterpret_cast<intptr_t>(GetStdHandle(STD_INPUT_HANDLE)), true}; }

bool OpenInputFile(std::string_view, const std::u16string& wideName, TInputRec& input, std::string& reason) {
  const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(wideName.c_str()), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = LastErrorText();
    return false;
  }
  input = TInputRec{reinterpret_cast<intptr_t>(file), false};
  return true;
}

void CloseInput(TInputRec& input) {
  if (!input.Standard) CloseHandle(reinterpret_cast<HANDLE>(input.Handle));
  input = TInputRec();
}

uint64_t InputFileSize(const TInputRec& input) {
  const HANDLE file = reinterpret_cast<HANDLE>(input.Handle);
  LARGE_INTEGER size;
  if (file == nullptr || file == INVALID_HANDLE_VALUE || GetFileType(file) != FILE_TYPE_DISK ||
      !GetFileSizeEx(file, &size) || size.QuadPart < 0)
    return 0;
  return static_cast<uint64_t>(size.QuadPart);
}

// Large pages need a privilege that a program is not given: plain memory.
void* AllocateBulkRoom(size_t size) { return std::malloc(size); }

TReadResultRec ReadInput(const TInputRec& source, char* buffer, size_t size) {
  const HANDLE input = reinterpret_cast<HANDLE>(source.Handle);
  // No standard input is no empty one: the read fails.
  if (input == nullptr || input == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return {TReadResultRec::Failed, 0};
  }
  DWORD read = 0;
  const DWORD ask = size < 0x10000000 ? static_cast<DWORD>(size) : 0x10000000;
  if (ReadFile(input, buffer, ask, &read, nullptr)) {
    // On a console, Ctrl+Z at the start of a line ends the input.
    DWORD mode;
    if (source.Standard && read > 0 && buffer[0] == 0x1A && GetConsoleMode(input, &mode))
      return {TReadResultRec::Read, 0};
    return {TReadResultRec::Read, read};
  }
  // The writer closed its end of the pipe: that is the end of the input.
  const DWORD error = GetLastError();
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return {TReadResultRec::Read, 0};
  return {TReadResultRec::Failed, 0};
}

std::string LastErrorText() {
  const DWORD error = GetLastError();
  wchar_t text[512];
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                 sizeof text / sizeof text[0], nullptr);
  std::u16string words(reinterpret_cast<const char16_t*>(text), n);
  while (!words.empty() &&
         (words.back() == u'\r' || words.back() == u'\n' || words.back() == u'.' || words.back() == u' '))
    words.pop_back();
  return words.empty() ? "error " + std::to_string(error) : WideToNarrow(words, GetACP());
}

uint32_t InputCodePage() {
  DWORD mode;
  const UINT cp = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) ? GetConsoleCP() : 0;
  return cp != 0 ? cp : GetACP();
}

// WriteFile on a console in a Unicode page reports the characters it wrote,
// not the bytes, so a multi-byte character makes the count look short.
// A handle does not tell whether it was opened for appending (cmd's ">>"),
// so every stream counts as shared.
bool StreamIsUnshared(TStdStream) { return false; }

// cmd's ">>" opens a file as ">" does and moves to its end, so the end of
// the file being where our last write left it is all a handle can tell.
void CutStreamEnd(TStdStream stream, uint64_t count) {
  const HANDLE handle = StreamHandle(stream);
  LARGE_INTEGER size, at, zero{};
  if (count == 0 || GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size) ||
      !SetFilePointerEx(handle, zero, &at, FILE_CURRENT) || at.QuadPart != size.QuadPart ||
      static_cast<uint64_t>(at.QuadPart) < count)
    return;
  at.QuadPart -= static_cast<LONGLONG>(count);
  if (SetFilePointerEx(handle, at, nullptr, FILE_BEGIN)) SetEndOfFile(handle);
}

bool WriteCountsCharacters(TStdStream stream) {
  switch (OutputCodePage()) {
    case 1200:
    case 1201:
    case 12000:
    case 12001:
    case 65000:
    case 65001: break;
    default: return false;
  }
  DWORD mode;
  return GetConsoleMode(StreamHandle(stream), &mode) != 0;
}

uint32_t AnsiCodePage() { return GetACP(); }

// GetConsoleOutputCP answers 0 when there is no console (Wine on a pipe).
uint32_t OutputCodePage() {
  if (CachedOutputCodePage == CodePageUndecided) {
    const UINT cp = GetConsoleOutputCP();
    CachedOutputCodePage = cp != 0 ? cp : GetACP();
  }
  return CachedOutputCodePage;
}

std::u16string NarrowToWide(std::string_view text, uint32_t cp) {
  if (text.empty()) return {};
  // Windows replaces a byte that is no text with U+FFFD or a look-alike;
  // tokloc keeps it as its byte escape, and does UTF-8 itself. UTF-16LE
  // bytes are no page Windows converts.
  if (cp == CodePageUtf8) return DecodeUtf8(text);
  if (cp == CodePageUtf16) return DecodeUtf16Le(text);
  const int strict =
      MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  CPINFO info;
  if (strict <= 0 && GetLastError() == ERROR_NO_UNICODE_TRANSLATION && GetCPInfo(cp, &info) && info.MaxCharSize <= 2) {
    // One character at a time: a lead byte with its trail, or one byte.
    std::u16string out;
    wchar_t unit[2];
    for (size_t i = 0; i < text.size();) {
      const size_t length =
          info.MaxCharSize == 2 && i + 1 < text.size() && IsDBCSLeadByteEx(cp, static_cast<BYTE>(text[i])) ? 2 : 1;
      const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, text.data() + i, static_cast<int>(length), unit, 2);
      if (n > 0) {
        out.append(reinterpret_cast<const char16_t*>(unit), static_cast<size_t>(n));
        i += length;
      } else {
        out.push_back(ByteEscape(static_cast<unsigned char>(text[i++])));
      }
    }
    return out;
  }
  // Valid text, or a page that takes no strictness: Windows' own reading.
  const int n = ToWide(text, cp, nullptr, 0);
  std::u16string out(static_cast<size_t>(n > 0 ? n : 0), u'\0');
  if (n > 0) ToWide(text, cp, reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string WideToNarrow(std::u16string_view text, uint32_t cp) {
  if (text.empty()) return {};
  const int n = ToNarrow(text, cp, nullptr, 0);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) ToNarrow(text, cp, out.data(), n);
  return out;
}

// CharUpperBuffA lives in user32, whose loading costs a search more than
// the whole search (hundreds of pages under Wine), and only the help path
// upper-cases: it is bound when first needed, not imported.
std::string UpperCaseAnsi(const std::string& text) {
  std::string out = text;
  if (out.empty()) return out;
  using TCharUpperBuffA = DWORD(WINAPI*)(LPSTR, DWORD);
  static TCharUpperBuffA charUpperBuffA = nullptr;
  if (!charUpperBuffA) {
    if (HMODULE user32 = LoadLibraryA("user32.dll"))
      charUpperBuffA =
          reinterpret_cast<TCharUpperBuffA>(reinterpret_cast<void (*)()>(GetProcAddress(user32, "CharUpperBuffA")));
  }
  if (charUpperBuffA) {
    charUpperBuffA(out.data(), static_cast<DWORD>(out.size()));
    return out;
  }
  return UpperCaseAscii(out);  // no user32: the ASCII letters at least
}

bool ReadLocaleText(uint32_t locale, uint32_t item, std::u16string& text) {
  const int n = GetLocaleInfoW(locale, item, nullptr, 0);
  if (n <= 0) return false;
  std::u16string buf(static_cast<size_t>(n), u'\0');
  if (GetLocaleInfoW(locale, item, reinterpret_cast<wchar_t*>(buf.data()), n) <= 0) return false;
  buf.resize(static_cast<size_t>(n - 1));  // the count includes the terminator
  text = buf;
  return true;
}

// Single-character items are asked for with room for 4 bytes, terminator
// included; a longer item fails as too big.
bool ReadLocaleChars(uint32_t locale, uint32_t item, std::string& chars) {
  char buf[4];
  const int n = GetLocaleInfoA(locale, item, buf, sizeof buf);
  if (n <= 0) return false;
  chars.assign(buf, static_cast<size_t>(n - 1));
  return true;
}

uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

TSystemTimeRec LocalTime() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  TSystemTimeRec t;
  t.Year = st.wYear;
  t.Month = st.wMonth;
  t.Day = st.wDay;
  t.Hour = st.wHour;
  t.Minute = st.wMinute;
  t.Second = st.wSecond;
  t.Milliseconds = st.wMilliseconds;
  return t;
}

void EndProcess(int32_t exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }
