#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// Writes the script at `script` to standard output as a run would put it in place, with the
// features that the settings file leaves on, and to standard error what a run says of its settings,
// the rules' messages and then the flight's briefing; creates, changes and starts nothing. Returns
// 0, or 1 after saying on standard error why the script could not be read or the output not written.
int previewScript(Platform& platform, ProgramConsole& console, const std::string& script);

}  // namespace aplpatch
