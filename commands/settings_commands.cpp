#include "commands/settings_commands.h"

#include <string_view>

#include "driver/settings_file.h"
#include "commands/program_name.h"
#include "driver/settings_text.h"
#include "platform/folder_path.h"
#include "rules/features.h"

namespace aplpatch {

namespace {

constexpr int kNotDone = 1;

int refuse(Console& console, std::string_view why) {
  std::string text = "Cannot write the settings file: ";
  text.append(why).append(". Nothing was changed.\n");
  console.print(text);
  return kNotDone;
}

}  // namespace

namespace {

// "  your own: PATH (there)", one of the two places a run looks at.
std::string placeLine(Platform& platform, std::string_view which, const std::string& path) {
  std::string line = "  ";
  line.append(which).append(": ");
  if (path.empty()) return line.append("the system does not say where it is\n");
  return line.append(path).append(platform.exists(path) ? " (there)\n" : " (not there)\n");
}

}  // namespace

int showSettings(Platform& platform, ProgramConsole& console, const std::string&) {
  const LoadedSettings settings = loadSettings(platform);
  const std::string name = startedName(platform);
  std::string text = name + " reads the first of these settings files that is there:\n";
  text.append(placeLine(platform, "your own", settings.userPath));
  text.append(placeLine(platform, "beside the program", settings.programPath));
  if (settings.found)
    text.append("In use: ").append(settings.path).append("\n");
  else
    text.append("In use: none, so every feature is on. ").append(name).append(" --write-settings writes your own.\n");
  // All of them here, however many: this is where a pilot looks for them.
  for (const std::string& problem : settings.problems) text.append(problem).append("\n");
  text.append("\nFeatures (off leaves the addition out of every flight):\n");
  for (const FeatureInfo& info : featureTable()) {
    text.append("  ").append(info.name).append(settings.switches.isOn(info.feature) ? " = on\n" : " = off\n");
    text.append("      ").append(info.explanation).append("\n");
  }
  text.append("\nRun settings ([run]):\n");
  for (const RunSetting& setting : runSettingTable()) {
    text.append("  ").append(setting.name).append(settings.run.*setting.value ? " = on\n" : " = off\n");
    text.append("      ").append(setting.explanation).append("\n");
  }
  console.print(text);
  return 0;
}

int writeSettings(Platform& platform, ProgramConsole& console, const std::string&) {
  const LoadedSettings settings = loadSettings(platform);
  const std::string& path = settings.userPath;
  if (path.empty()) return refuse(console, "the system does not say where your own settings go");
  if (platform.exists(path)) return refuse(console, path + " exists already");

  // The pilot's own file is read in place of the one beside the program: it starts from what that
  // one sets, so that writing it changes no flight.
  const bool takesOver = settings.found && settings.path != path;
  const FeatureSwitches switches = takesOver ? settings.switches : FeatureSwitches{};
  Status status = writeFileMakingFolders(platform, path, settingsFileText(switches), ExistingFile::keep);
  if (!status.ok()) {
    if (status.is(StatusCode::alreadyExists)) return refuse(console, path + " exists already");
    return refuse(console, status.reason());
  }
  std::string text = "Wrote " + path;
  if (switches.allOn())
    text.append(" with every feature on.");
  else
    text.append(" with the features of ").append(settings.path).append(" (off: ").append(switchedOffList(switches)).append(").");
  text.append(" Set a feature to off there to leave it out.\n");
  if (takesOver) text.append("It is read from now on, in place of ").append(settings.path).append(".\n");
  console.print(text);
  return 0;
}

}  // namespace aplpatch
