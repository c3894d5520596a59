// A program for the Windows platform tests: it records where it was started from and the
// arguments it received, and ends with the status it is asked for.
//
//   ARGUMENT_PROBE_LOG   the file to write: the probe's own folder, each argument, then "--", one a
//                        line, in UTF-8
//   ARGUMENT_PROBE_EXIT  the exit status (default 0)

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_main.h"
#include "platform/wide_text.h"

namespace aplpatch {

namespace {

std::wstring variable(const wchar_t* name) {
  wchar_t value[32768];
  DWORD length = GetEnvironmentVariableW(name, value, 32768);
  return length > 0 && length < 32768 ? std::wstring(value, length) : std::wstring();
}

std::string ownFolder() {
  wchar_t path[32768];
  DWORD length = GetModuleFileNameW(nullptr, path, 32768);
  std::wstring file(path, length);
  return toUtf8(file.substr(0, file.find_last_of(L'\\')));
}

}  // namespace

int programMain(const std::vector<std::string>& arguments) {
  std::string log = ownFolder() + "\n";
  for (const std::string& argument : arguments) log += argument + "\n";
  log += "--\n";
  std::unique_ptr<Platform> platform = makeSystemPlatform();
  Opened<WriteFile> out = platform->createForWrite(toUtf8(variable(L"ARGUMENT_PROBE_LOG")));
  if (out.status.ok()) {
    out.file->write(log.data(), log.size());
    out.file->close();
  }
  return static_cast<int>(std::wcstoll(variable(L"ARGUMENT_PROBE_EXIT").c_str(), nullptr, 10));
}

}  // namespace aplpatch
