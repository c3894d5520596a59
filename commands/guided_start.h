#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// What a command line that is neither the host's nor a command gets. The host's refusal line comes
// first and the exit status is -1, always: the host may look at both. Then, for a person:
// - no arguments (a double-click): a short guide to what the program is and how to install it;
// - one existing program file other than aplpatch, at a console where a person can answer (the
//   compiler dropped on the program): what installing in front of it would do, and the install
//   on yes only;
// - anything else: `hint`, one line pointing at the help.
// In a console window of its own, it waits for Enter before the window closes.
int refuseWithGuidance(Platform& platform, ProgramConsole& console, const std::vector<std::string>& arguments,
                       const std::string& hint);

// Waits for Enter when the console window is the program's own, so that the pilot can read what
// it says before the window closes.
void holdOwnWindow(ProgramConsole& console);

}  // namespace aplpatch
