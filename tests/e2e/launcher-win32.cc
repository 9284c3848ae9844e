// Starts tokloc.exe (beside this launcher) with the exact raw command line
// held in the environment variable TOKLOC_COMMAND_LINE, so that tests reach
// the program's own splitting of GetCommandLineA unchanged. The standard
// handles are inherited and the child's exit code is passed on.
#include <windows.h>

int main() {
  static char line[32768];
  const DWORD n = GetEnvironmentVariableA("TOKLOC_COMMAND_LINE", line, sizeof line);
  if (n == 0 || n >= sizeof line) return 120;

  char path[MAX_PATH];
  DWORD len = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (len > 0 && path[len - 1] != '\\' && path[len - 1] != '/') --len;
  const char name[] = "tokloc.exe";
  if (len + sizeof name > MAX_PATH) return 121;
  for (size_t i = 0; i < sizeof name; ++i) path[len + i] = name[i];

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(path, line, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return 122;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 123;
  GetExitCodeProcess(pi.hProcess, &code);
  ExitProcess(code);
}
