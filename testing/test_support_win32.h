#pragma once

// Helpers for the Windows tests that run real programs: where the built programs are, the
// environment, and starting a program with its output captured.

#include <windows.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "testing/test_files.h"

namespace aplpatch::testing {

// The folder of the running test program, where the build puts every program and the example.
inline std::filesystem::path programFolder() {
  wchar_t path[32768];
  DWORD length = GetModuleFileNameW(nullptr, path, 32768);
  return std::filesystem::path(std::wstring(path, length)).parent_path();
}

// The UTF-8 spelling of `path`, independent of the code under test.
inline std::string utf8(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Sets an environment variable of this process for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[32768];
    DWORD length = GetEnvironmentVariableW(name, old, 32768);
    if (length > 0 && length < 32768) old_ = std::wstring(old, length);
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

// This process's environment, keyed by the upper-cased name (Windows ignores the case of names).
inline std::map<std::wstring, std::wstring> currentEnvironment() {
  std::map<std::wstring, std::wstring> variables;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
    std::wstring text = entry;
    std::size_t equals = text.find(L'=', 1);  // names of the hidden per-drive folders begin with '='
    if (equals == std::wstring::npos) continue;
    std::wstring name = text.substr(0, equals);
    for (wchar_t& c : name) c = static_cast<wchar_t>(towupper(c));
    variables[name] = text.substr(equals + 1);
  }
  FreeEnvironmentStringsW(block);
  return variables;
}

struct Finished {
  DWORD status;        // the exit code
  std::string output;  // standard output and standard error together, as written
};

// Starts `commandLine` in `folder` with `environment`, without a console of its own, its output
// going to the file `capture`. Returns the process handle to wait on, or null when it did not start.
inline HANDLE startCaptured(const std::wstring& commandLine, const std::filesystem::path& folder,
                            const std::map<std::wstring, std::wstring>& environment,
                            const std::filesystem::path& capture) {
  std::wstring block;
  for (const auto& [name, value] : environment) block += name + L"=" + value + L'\0';
  block += L'\0';

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out = CreateFileW(capture.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return nullptr;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  // No console: the program then writes its messages in UTF-8, the same on every machine.
  BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                CREATE_UNICODE_ENVIRONMENT | DETACHED_PROCESS, block.data(),
                                folder.c_str(), &startup, &process);
  CloseHandle(out);
  if (!started) return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Waits for a process from startCaptured() to end, closes its handle and returns its exit code.
inline DWORD waitForExit(HANDLE process) {
  WaitForSingleObject(process, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process, &status);
  CloseHandle(process);
  return status;
}

// Runs `commandLine` as startCaptured() does and waits for it to end.
inline Finished runCaptured(const std::wstring& commandLine, const std::filesystem::path& folder,
                            const std::map<std::wstring, std::wstring>& environment,
                            const std::filesystem::path& capture) {
  HANDLE process = startCaptured(commandLine, folder, environment, capture);
  if (process == nullptr) return {~0ul, "cannot start " + std::to_string(GetLastError())};
  DWORD status = waitForExit(process);
  return {status, readBytes(capture).value_or("")};
}

}  // namespace aplpatch::testing
