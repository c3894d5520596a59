#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// Names both places a settings file is looked for, whether each is there and which one is in use,
// every problem it has, then every feature with its value and its explanation. Returns 0.
int showSettings(Platform& platform, ProgramConsole& console, const std::string& unused);

// Writes the pilot's own settings file, with every feature explained and set as the file beside the
// program sets it (every feature on when there is none); its folder is made. Refuses, changing
// nothing, when a file or folder is there already, also one that appears while it writes.
// Returns 0, or 1 when nothing was written.
int writeSettings(Platform& platform, ProgramConsole& console, const std::string& unused);

}  // namespace aplpatch
