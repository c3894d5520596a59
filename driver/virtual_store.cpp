#include "driver/virtual_store.h"

#include <algorithm>

#include "base/ascii_case.h"

namespace aplpatch {

namespace {

std::string withBackslashes(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '/', '\\');
  return result;
}

// `path` as "C:\..." with backslashes only and no separator at its end (but for a drive's root);
// empty when it is no path on a drive. Windows redirects only folders on this machine's drives: a
// UNC path ("\\server\share\...", "\\?\UNC\server\share\...") or a device path never lies under one.
std::string drivePath(std::string_view path) {
  std::string result = withBackslashes(path);
  if (result.starts_with("\\\\?\\")) result.erase(0, 4);
  bool letter = !result.empty() && asciiLower(result[0]) >= 'a' && asciiLower(result[0]) <= 'z';
  if (result.size() < 3 || !letter || result[1] != ':' || result[2] != '\\') return {};
  while (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

// Whether `path` names something inside `folder`, both from drivePath().
bool isInside(std::string_view path, std::string_view folder) {
  if (folder.empty() || path.size() <= folder.size() || !equalIgnoringAsciiCase(path.substr(0, folder.size()), folder))
    return false;
  // "C:\Program Files Extra" is not inside "C:\Program Files".
  return folder.back() == '\\' || path[folder.size()] == '\\';
}

}  // namespace

std::optional<std::string> virtualStoreTwin(std::string_view fullPath, const RedirectionEnvironment& environment) {
  std::string path = drivePath(fullPath);
  if (path.empty() || environment.localAppData.empty()) return std::nullopt;
  bool redirected = std::any_of(environment.redirectedFolders.begin(), environment.redirectedFolders.end(),
                                [&](const std::string& folder) { return isInside(path, drivePath(folder)); });
  if (!redirected) return std::nullopt;
  std::string twin = withBackslashes(environment.localAppData);
  while (twin.size() > 1 && twin.back() == '\\') twin.pop_back();
  twin.append("\\VirtualStore\\").append(path, 3);
  return twin;
}

ScriptFile chooseScriptFile(const std::string& script, std::string_view fullPath, const std::string& twin,
                            const FileStamp& atScript, const FileStamp& atTwin) {
  if (!atTwin.isFile || (atScript.isFile && atTwin.lastWritten < atScript.lastWritten)) return {script, {}};
  std::string reason(fullPath);
  reason.append(" is in a folder that Windows redirects for legacy programs, and ");
  if (!atScript.isFile)
    reason.append("no file is there");
  else if (atTwin.lastWritten > atScript.lastWritten)
    reason.append("its twin was written after it");
  else
    reason.append("its twin was written at the same time");
  return {twin, reason};
}

ScriptFile scriptFileToWorkOn(Platform& platform, const std::string& script) {
  if (!platform.redirectsLegacyPrograms()) return {script, {}};
  RedirectionEnvironment environment;
  for (std::string_view name : kRedirectedFolderVariables)
    environment.redirectedFolders.push_back(platform.environmentVariable(std::string(name)));
  environment.localAppData = platform.environmentVariable(std::string(kLocalAppDataVariable));
  std::string full = platform.fullPath(script);
  std::optional<std::string> twin = virtualStoreTwin(full, environment);
  if (!twin) return {script, {}};
  return chooseScriptFile(script, full, *twin, platform.fileStamp(script), platform.fileStamp(*twin));
}

}  // namespace aplpatch
