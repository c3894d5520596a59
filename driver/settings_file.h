#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/settings_text.h"
#include "platform/platform.h"
#include "rules/features.h"

namespace aplpatch {

inline constexpr std::string_view kSettingsFileName = "aplpatch.ini";
// The folder of aplpatch's own in each of the user's folders.
inline constexpr std::string_view kUserFolderName = "aplpatch";

// The settings a run or a preview goes by, and where they came from.
struct LoadedSettings {
  // The two places, in the order they are looked at; each empty when the system cannot tell.
  std::string userPath;     // the pilot's own file
  std::string programPath;  // the file beside the program
  // The file in use: the pilot's own when something is there, else the one beside the program (or,
  // when the system cannot tell where that is, the pilot's own); empty when neither place is known.
  std::string path;
  bool found = false;   // something is at `path` (whether or not it could be read)
  FeatureSwitches switches;
  RunSwitches run;  // the file's [run] section
  // One console line each (without its line end) for whatever was not taken, the file named in
  // each, the line number where there is one.
  std::vector<std::string> problems;
};

// The settings file beside the program: aplpatch.ini in the folder of the running program's file
// (installed, the compiler's folder). Empty when the system does not say where the program is.
std::string settingsFilePath(Platform& platform);

// The pilot's own settings file, which is read first: aplpatch.ini in the folder aplpatch of the
// user's settings folder. Empty when the system does not say where that is.
std::string userSettingsFilePath(Platform& platform);

// Reads the settings file in use, once: the pilot's own when it is there, else the one beside the
// program; never both. Never fails and never waits: no file means every feature on, and a file that
// cannot be read, a folder or a FIFO in its place, or lines that cannot be taken each leave a
// problem and their features on.
LoadedSettings loadSettings(Platform& platform);

// What a run prints about its settings, one console line each ending with LF: nothing when there
// is no file; otherwise one line naming the file and the features it switches off (or that every
// feature is on), then the problems, at most ten of them and a line that counts the rest.
std::vector<std::string> settingsConsoleLines(const LoadedSettings& settings);

// The run log's line on the settings used, without its line end.
std::string settingsLogLine(const LoadedSettings& settings);

// "descent-request, missed-approach": the features that `switches` leaves off, in table order.
std::string switchedOffList(const FeatureSwitches& switches);

}  // namespace aplpatch
