#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// The whole run for one command line (the arguments after the program name, "-e" and the script):
// back the script up, rewrite it into the new script, put that in the script's place, run the real
// compiler on it and write the run's log. A script that is patched already goes to the compiler
// unchanged. Returns the exit status: the compiler's own, or -1 when the command line is wrong or
// the run stopped early. Whenever it returns, the script is either untouched or completely
// rewritten.
int runPatch(Platform& platform, ProgramConsole& console, const std::vector<std::string>& arguments);

// Whether `arguments` are the host's command line, "-e" and the script, which a run takes.
bool isRunCommandLine(const std::vector<std::string>& arguments);

// Tells the console what the host has always been told of a command line that is not its own, the
// one line it may look for. Returns the exit status of a wrong command line, -1.
int refuseCommandLine(Console& console);

}  // namespace aplpatch
