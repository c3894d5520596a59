// Which programs hold a file, as the Restart Manager tells it.

#include <windows.h>

#include <restartmanager.h>

#include <string>
#include <vector>

#include "platform/system_win32.h"
#include "platform/wide_text.h"

namespace aplpatch::win32 {

std::vector<std::string> programsHolding(const std::string& path) {
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (RmStartSession(&session, 0, key) != ERROR_SUCCESS) return {};
  std::vector<std::string> names;
  std::wstring file = fullPath(toWide(path));
  LPCWSTR files[] = {file.c_str()};
  if (RmRegisterResources(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
    // Asked twice at most: once for the count, once more if more programs came meanwhile.
    UINT needed = 0;
    UINT count = 0;
    DWORD reasons = 0;
    std::vector<RM_PROCESS_INFO> processes;
    DWORD result = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 3 && result == ERROR_MORE_DATA; ++attempt) {
      processes.resize(needed);
      count = needed;
      result = RmGetList(session, &needed, &count, processes.empty() ? nullptr : processes.data(), &reasons);
    }
    if (result == ERROR_SUCCESS) {
      for (UINT i = 0; i < count && i < processes.size(); ++i) {
        std::string name = toUtf8(processes[i].strAppName);
        if (name.empty()) name = "process " + std::to_string(processes[i].Process.dwProcessId);
        names.push_back(name);
      }
    }
  }
  RmEndSession(session);
  return names;
}

}  // namespace aplpatch::win32
