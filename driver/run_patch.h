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

}  // namespace aplpatch
