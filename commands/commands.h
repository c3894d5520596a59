#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// Runs the program's command line (the arguments after the program name): the command it asks for
// (help, version, preview, settings, install, uninstall), or else the run, which refuses a wrong command
// line. Returns the exit status.
int runCommandLine(Platform& platform, ProgramConsole& console, const std::vector<std::string>& arguments);

}  // namespace aplpatch
