#include "driver/settings_file.h"

#include <cstddef>
#include <memory>
#include <utility>

#include "platform/folder_path.h"

namespace aplpatch {

namespace {

// A settings file is a few hundred bytes; anything much larger is not one and is not read whole.
constexpr std::size_t kLargestSettingsFile = 64 * 1024;
// Problems printed on the host's console; the rest are counted (aplpatch --settings lists all).
constexpr std::size_t kProblemsShown = 10;

struct FileText {
  Status status = Status::success();
  std::string text;
  bool tooLarge = false;
};

FileText readWhole(Platform& platform, const std::string& path) {
  FileText result;
  Opened<ReadFile> opened = platform.openForRead(path);
  if (!opened.status.ok()) {
    result.status = opened.status;
    return result;
  }
  char buffer[4096];
  for (std::size_t n; (n = opened.file->read(buffer, sizeof buffer)) > 0;) {
    result.text.append(buffer, n);
    if (result.text.size() > kLargestSettingsFile) {
      result.tooLarge = true;
      return result;
    }
  }
  result.status = opened.file->status();
  return result;
}

std::string problemLine(const std::string& path, const SettingsProblem& problem) {
  std::string line = path;
  if (problem.line > 0) line.append(" line ").append(std::to_string(problem.line));
  return line.append(problem.line > 0 ? ": " : " ").append(problem.what);
}

}  // namespace

std::string settingsFilePath(Platform& platform) {
  const std::string program = platform.runningProgramPath();
  if (program.empty()) return {};
  const std::size_t name = fileNameOf(program, platform.pathStyle()).size();
  return program.substr(0, program.size() - name).append(kSettingsFileName);
}

std::string userSettingsFilePath(Platform& platform) {
  const std::string folder = platform.userSettingsFolder();
  if (folder.empty()) return {};
  return pathInFolder(platform, pathInFolder(platform, folder, std::string(kUserFolderName)),
                      std::string(kSettingsFileName));
}

LoadedSettings loadSettings(Platform& platform) {
  LoadedSettings settings;
  settings.userPath = userSettingsFilePath(platform);
  settings.programPath = settingsFilePath(platform);
  const bool ownFile = !settings.userPath.empty() && platform.exists(settings.userPath);
  settings.path = ownFile || settings.programPath.empty() ? settings.userPath : settings.programPath;
  // No file is the usual case and no problem: looked at first, so that only a file that is there
  // and cannot be read is reported.
  if (settings.path.empty() || !platform.exists(settings.path)) return settings;
  settings.found = true;

  FileText file = readWhole(platform, settings.path);
  if (!file.status.ok()) {
    // Windows refuses to open a folder with "access denied", which would send a pilot looking at
    // permissions: whatever is there but is no file is named as such, as on POSIX systems.
    const std::string why =
        file.status.is(StatusCode::notRegularFile) ? std::string("not a regular file") : file.status.reason();
    settings.problems.push_back(settings.path + " cannot be read: " + why + "; ignored");
    return settings;
  }
  if (file.tooLarge) {
    settings.problems.push_back(settings.path + " is larger than 64 KiB, too large for a settings file; ignored");
    return settings;
  }
  SettingsReading reading = readSettingsText(file.text);
  settings.switches = reading.switches;
  settings.run = reading.run;
  for (const SettingsProblem& problem : reading.problems)
    settings.problems.push_back(problemLine(settings.path, problem));
  return settings;
}

std::string switchedOffList(const FeatureSwitches& switches) {
  std::string list;
  for (Feature feature : switches.switchedOff()) {
    if (!list.empty()) list.append(", ");
    list.append(featureName(feature));
  }
  return list;
}

std::vector<std::string> settingsConsoleLines(const LoadedSettings& settings) {
  if (!settings.found) return {};
  std::vector<std::string> lines;
  std::string summary = "settings file " + settings.path;
  if (settings.switches.allOn())
    summary.append(": every feature on\n");
  else
    summary.append(": switched off: ").append(switchedOffList(settings.switches)).append("\n");
  lines.push_back(std::move(summary));
  for (std::size_t i = 0; i < settings.problems.size() && i < kProblemsShown; ++i)
    lines.push_back(settings.problems[i] + "\n");
  if (settings.problems.size() > kProblemsShown) {
    std::string more = settings.path;
    more.append(": ")
        .append(std::to_string(settings.problems.size() - kProblemsShown))
        .append(" more problems not shown; aplpatch --settings lists them all\n");
    lines.push_back(std::move(more));
  }
  return lines;
}

std::string settingsLogLine(const LoadedSettings& settings) {
  std::string line = "settings: ";
  if (settings.path.empty())
    line.append("none, the system does not say where aplpatch is");
  else if (!settings.found)
    line.append("none at ").append(settings.path);
  else
    line.append(settings.path);
  if (settings.switches.allOn())
    line.append(", every feature on");
  else
    line.append(", switched off: ").append(switchedOffList(settings.switches));
  if (!settings.run.fallback) line.append(", fallback off");
  if (!settings.run.patch) line.append(", patch off");
  return line;
}

}  // namespace aplpatch
