#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// Says where the settings file is looked for, whether it is there and every problem it has, then
// every feature with its value and its explanation. Returns 0.
int showSettings(Platform& platform, ProgramConsole& console, const std::string& unused);

// Writes the settings file where a run looks for it, with every feature on and explained. Refuses,
// changing nothing, when a file or folder is there already, also one that appears while it writes.
// Returns 0, or 1 when nothing was written.
int writeSettings(Platform& platform, ProgramConsole& console, const std::string& unused);

}  // namespace aplpatch
