#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rules/features.h"

namespace aplpatch {

// One thing in a settings file that was not taken, in the pilot's words ("unknown feature
// \"wind\"; ignored").
struct SettingsProblem {
  int line = 0;  // from 1; 0 when it concerns the whole file
  std::string what;
};

// How a run treats the flight, from the settings file's `[run]` section; each is on by default.
struct RunSwitches {
  // When the compiler fails on the rewrite, the script is put back as generated and compiled again.
  bool fallback = true;
  // Off hands every flight to the compiler as generated, after its backup.
  bool patch = true;

  bool operator==(const RunSwitches&) const = default;
};

// What the text of a settings file sets. Every feature that no good line switches keeps its
// default, on.
struct SettingsReading {
  FeatureSwitches switches;
  RunSwitches run;
  std::vector<SettingsProblem> problems;  // in the order of the lines
};

// Reads the text of an INI-form settings file: a `[features]` section (settings before any heading
// belong to it) and a `[run]` section (keys `fallback` and `patch`), one `name = value` a line with
// on/off, true/false, yes/no, 1/0 or enabled/disabled, a value in quotes as well; names, values and
// section names in any letter case, blanks and tabs around them, `;` and `#` comment lines, blank
// lines, CR LF or LF, a leading UTF-8 byte-order mark, or UTF-16 with its byte-order mark. A `;` or
// `#` after a setting starts a comment as well (no name or value holds either). A feature set twice
// takes the last value, and the repetition is reported. An unknown name is reported with the feature
// it was most likely meant to be, a value that is none of these with what the feature stays at.
// Never fails: every line that is not taken is a problem.
SettingsReading readSettingsText(std::string_view text);

// The settings file for `switches` and `run` with every feature and every run setting, its one-line
// explanation and its value, CR LF line ends as Windows editors write them.
std::string settingsFileText(const FeatureSwitches& switches = {}, const RunSwitches& run = {});

// A key of the `[run]` section with its explanation, in the order the file lists them.
struct RunSetting {
  std::string_view name;
  bool RunSwitches::*value;
  std::string_view explanation;
};
std::span<const RunSetting> runSettingTable();

}  // namespace aplpatch
