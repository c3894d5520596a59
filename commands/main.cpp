#include <exception>
#include <memory>

#include "commands/commands.h"
#include "platform/platform.h"
#include "platform/program_console.h"
#include "platform/program_main.h"

namespace aplpatch {

int programMain(const std::vector<std::string>& arguments) {
  std::unique_ptr<Platform> platform = makeSystemPlatform();
  std::unique_ptr<ProgramConsole> console = makeSystemConsole();
  try {
    return runCommandLine(*platform, *console, arguments);
  } catch (const std::exception& error) {
    // Caught here so that unwinding removes a partial new script.
    console->print(std::string("Program aborted. ") + error.what() + "\n");
    return -1;
  }
}

}  // namespace aplpatch
