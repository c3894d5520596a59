#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// "aplpatch" and the version the build was made from.
std::string_view programNameAndVersion();

// Runs the command line when it asks for one of the commands besides a run (help, version, preview,
// install, uninstall) and returns its exit status; nothing when it asks for none of them.
std::optional<int> runOtherCommand(Platform& platform, ProgramConsole& console,
                                   const std::vector<std::string>& arguments);

}  // namespace aplpatch
