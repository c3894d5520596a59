#include <exception>
#include <memory>

#include "platform/platform.h"
#include "platform/program_main.h"
#include "driver/run_patch.h"

namespace aplpatch {

int programMain(const std::vector<std::string>& arguments) {
  std::unique_ptr<Platform> platform = makeSystemPlatform();
  try {
    return runPatch(*platform, arguments);
  } catch (const std::exception& error) {
    // Caught here so that unwinding removes a partial new script.
    platform->print(std::string("Program aborted. ") + error.what() + "\n");
    return -1;
  }
}

}  // namespace aplpatch
