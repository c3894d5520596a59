#include "commands/status_command.h"

#include <string_view>

#include "base/ascii_case.h"
#include "commands/guided_start.h"
#include "commands/program_name.h"
#include "driver/compiler_name.h"
#include "driver/last_run.h"
#include "driver/program_version.h"
#include "driver/settings_file.h"

namespace aplpatch {

namespace {

std::string installedLine(Platform& platform, const std::string& name) {
  const std::string self = platform.runningProgramPath();
  if (self.empty()) return "Installed: the system does not say where this copy is.\n";
  const std::string_view file = fileNameOf(self, platform.pathStyle());
  const std::string original = self.substr(0, self.size() - file.size()) + std::string(kCompilerName);
  if (!equalIgnoringAsciiCase(file, kCompilerName) && platform.exists(original))
    return "Installed in front of the compiler " + self + " (the compiler itself is now " + original + ").\n";
  return "Not installed in front of a compiler: no " + std::string(kCompilerName) + " beside " + self +
         ".\nTo install: " + name + " --install \"PATH TO THE COMPILER\"\n";
}

std::string settingsLine(Platform& platform, const std::string& name) {
  const LoadedSettings settings = loadSettings(platform);
  std::string line = "Settings: ";
  if (!settings.found) {
    line.append("no settings file, every feature on.");
  } else {
    line.append(settings.path);
    if (settings.switches.allOn())
      line.append(", every feature on.");
    else
      line.append(", switched off: ").append(switchedOffList(settings.switches)).append(".");
    if (!settings.problems.empty())
      line.append(" ")
          .append(std::to_string(settings.problems.size()))
          .append(settings.problems.size() == 1 ? " line is" : " lines are")
          .append(" not taken: ")
          .append(name)
          .append(" --settings says why.");
  }
  return line.append("\n");
}

std::string lastRunLines(Platform& platform) {
  const std::string path = lastRunPath(platform);
  if (path.empty()) return "Last run: none kept, the system does not say where this user's files go.\n";
  LastRunReading reading = readLastRun(platform);
  if (!reading.status.ok()) return "Last run: cannot read " + path + ": " + reading.status.reason() + ".\n";
  if (!reading.run) return "Last run: none yet for this user.\n";
  const LastRun& run = *reading.run;
  std::string text = "Last run: " + run.when + ", " + run.script + "\n";
  text.append("  Outcome: ").append(run.outcome).append("\n");
  if (!run.keys.empty()) text.append("  Keys: ").append(run.keys).append(".\n");
  if (!run.log.empty()) text.append("  Log: ").append(run.log).append("\n");
  return text;
}

}  // namespace

int showStatus(Platform& platform, ProgramConsole& console, const std::string&) {
  const std::string name = startedName(platform);
  std::string text = std::string(programNameAndVersion()) + "\n";
  text.append(installedLine(platform, name));
  text.append(settingsLine(platform, name));
  text.append(lastRunLines(platform));
  console.print(text);
  holdOwnWindow(console);
  return 0;
}

}  // namespace aplpatch
