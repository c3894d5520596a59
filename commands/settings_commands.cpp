#include "commands/settings_commands.h"

#include <string_view>

#include "driver/settings_file.h"
#include "driver/settings_text.h"
#include "platform/temporary_file.h"
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

int showSettings(Platform& platform, ProgramConsole& console, const std::string&) {
  const LoadedSettings settings = loadSettings(platform);
  std::string text;
  if (settings.path.empty()) {
    text.append("The system does not say where aplpatch is, so no settings file is read.\n");
  } else {
    text.append("aplpatch looks for its settings in ").append(settings.path);
    text.append(settings.found ? ": found.\n" : ": not found. aplpatch --write-settings writes one.\n");
  }
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
  const std::string path = settingsFilePath(platform);
  if (path.empty()) return refuse(console, "the system does not say where aplpatch is");
  if (platform.exists(path)) return refuse(console, path + " exists already");

  const std::string text = settingsFileText();
  TemporaryFile file(platform, path);
  Status status = file.create();
  if (status.ok()) {
    file.sink().write(text.data(), text.size());
    status = file.finish();
  }
  // A file that appeared meanwhile stays as it is: the move refuses to replace it.
  if (status.ok()) status = file.commitAsNew(path);
  if (!status.ok()) {
    if (status.is(StatusCode::alreadyExists)) return refuse(console, path + " exists already");
    return refuse(console, "cannot write " + path + ": " + status.reason());
  }
  console.print("Wrote " + path + " with every feature on. Set a feature to off there to leave it out.\n");
  return 0;
}

}  // namespace aplpatch
