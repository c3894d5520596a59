#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// Says the version; whether this copy is installed in front of a compiler, and which; the settings
// file in use and what it switches off; and the user's last run: when, which script, its outcome,
// its keys and the log's path. In a console window of its own it waits for Enter. Returns 0.
int showStatus(Platform& platform, ProgramConsole& console, const std::string& unused);

}  // namespace aplpatch
