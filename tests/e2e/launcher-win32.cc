// Starts tokloc.exe (beside this launcher) with the exact UTF-16 command
// line held in the environment variable TOKLOC_COMMAND_LINE, so that tests
// reach the program's own splitting unchanged; or in TOKLOC_COMMAND_LINE_UNITS
// as four hexadecimal digits a unit, for units no environment text can carry
// (an unpaired surrogate). The standard handles are
// inherited and the child's exit code is passed on. Two optional
// variables: TOKLOC_CONSOLE_CP sets the console's output code page first
// (when the launcher has a console); TOKLOC_STDOUT and TOKLOC_STDERR name
// files that take the child's output instead.
#include <windows.h>

namespace {

// The file named by the variable, opened for writing; fallback when unset.
HANDLE OutputFile(const wchar_t* variable, HANDLE fallback) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(variable, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return fallback;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  return CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int main() {
  static wchar_t line[32768];
  static wchar_t hex[4 * 32768];
  const DWORD units = GetEnvironmentVariableW(L"TOKLOC_COMMAND_LINE_UNITS", hex, 4 * 32768);
  if (units > 0 && units < 4 * 32768) {
    DWORD k = 0;
    for (DWORD i = 0; i + 4 <= units; i += 4, ++k) {
      unsigned unit = 0;
      for (DWORD j = i; j < i + 4; ++j)
        unit = unit * 16 + static_cast<unsigned>(hex[j] <= L'9' ? hex[j] - L'0' : (hex[j] | 0x20) - L'a' + 10);
      line[k] = static_cast<wchar_t>(unit);
    }
    line[k] = 0;
  } else {
    const DWORD n = GetEnvironmentVariableW(L"TOKLOC_COMMAND_LINE", line, 32768);
    if (n == 0 || n >= 32768) return 120;
  }

  wchar_t page[16];
  const DWORD pageLength = GetEnvironmentVariableW(L"TOKLOC_CONSOLE_CP", page, 16);
  if (pageLength > 0 && pageLength < 16) {
    UINT cp = 0;
    for (const wchar_t* p = page; *p >= L'0' && *p <= L'9'; ++p) cp = cp * 10 + static_cast<UINT>(*p - L'0');
    if (!SetConsoleOutputCP(cp)) return 124;
  }

  wchar_t path[MAX_PATH];
  DWORD len = GetModuleFileNameW(nullptr, path, MAX_PATH);
  while (len > 0 && path[len - 1] != L'\\' && path[len - 1] != L'/') --len;
  const wchar_t name[] = L"tokloc.exe";
  if (len + sizeof name / sizeof name[0] > MAX_PATH) return 121;
  for (size_t i = 0; i < sizeof name / sizeof name[0]; ++i) path[len + i] = name[i];

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = OutputFile(L"TOKLOC_STDOUT", GetStdHandle(STD_OUTPUT_HANDLE));
  si.hStdError = OutputFile(L"TOKLOC_STDERR", GetStdHandle(STD_ERROR_HANDLE));
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(path, line, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return 122;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 123;
  GetExitCodeProcess(pi.hProcess, &code);
  ExitProcess(code);
}
