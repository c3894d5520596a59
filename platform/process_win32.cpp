// Starting the compiler on Windows: started with CreateProcessW (no interpreter in between, so no character of the path is taken
// for one of its operators), waited for, its exit code passed on.

#include <windows.h>

#include "platform/command_line.h"
#include "platform/system_win32.h"
#include "platform/wide_text.h"

namespace aplpatch::win32 {

namespace {

// Lets the program inherit a standard handle of ours (it inherits only those marked so).
HANDLE inheritable(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

}  // namespace

ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments) {
  std::wstring program = systemPath(path);
  std::wstring commandLine = toWide(buildCommandLine(path, arguments));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inheritable(STD_INPUT_HANDLE);
  startup.hStdOutput = inheritable(STD_OUTPUT_HANDLE);
  startup.hStdError = inheritable(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    return {errorStatusFor(GetLastError(), path), 0, 0, {}};
  CloseHandle(process.hThread);

  ProgramRun run;
  DWORD exitCode = 0;
  if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.hProcess, &exitCode)) {
    run.status = lastErrorStatus();
  } else {
    // Passed on bit for bit: a program ended by an exception reports its code (0xC0000005 and the
    // like) as a negative number, which the process exit turns back into the same code.
    run.exitCode = static_cast<int>(exitCode);
  }
  CloseHandle(process.hProcess);
  return run;
}

}  // namespace aplpatch::win32
