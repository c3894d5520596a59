#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// Runs the program's command line (the arguments after the program name): the command it asks for
// (help, version, preview, settings, status, install, uninstall), or the run for the host's command
// line, or else the host's refusal with guidance for a person. Returns the exit status.
int runCommandLine(Platform& platform, ProgramConsole& console, const std::vector<std::string>& arguments);

}  // namespace aplpatch
