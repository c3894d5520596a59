// Starting the compiler on Windows: found as the command interpreter finds a bare name, started
// directly with CreateProcessW (no interpreter in between, so no character of the path is taken
// for one of its operators), waited for, its exit code passed on.

#include <windows.h>

#include <optional>

#include "driver/command_line.h"
#include "driver/program_search.h"
#include "driver/wide_text.h"
#include "driver/system_win32.h"

namespace aplpatch::win32 {

namespace {

std::string searchPath() {
  DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  DWORD length = GetEnvironmentVariableW(L"PATH", value.data(), size);
  if (length == 0 || length >= size) return {};
  value.resize(length);
  return toUtf8(value);
}

bool isFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::wstring> findProgram(const std::string& name) {
  for (const std::string& candidate : programCandidates(name, searchPath())) {
    std::wstring path = systemPath(candidate);
    if (isFile(path)) return path;
  }
  return std::nullopt;
}

// Lets the program inherit a standard handle of ours (it inherits only those marked so).
HANDLE inheritable(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

}  // namespace

ProgramRun runProgram(const std::string& name, const std::vector<std::string>& arguments) {
  std::optional<std::wstring> program = findProgram(name);
  if (!program) return {Status::failure("not found in the working directory or on the search path"), 0, 0, {}};

  // The program sees its name as it was asked for, as when the interpreter starts it.
  std::wstring commandLine = toWide(buildCommandLine(name, arguments));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inheritable(STD_INPUT_HANDLE);
  startup.hStdOutput = inheritable(STD_OUTPUT_HANDLE);
  startup.hStdError = inheritable(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program->c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process))
    return {lastErrorStatus(), 0, 0, {}};
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
