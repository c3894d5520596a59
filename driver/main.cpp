#include <exception>
#include <memory>

#include "driver/platform.h"
#include "driver/run_patch.h"

int main(int argc, char** argv) {
  std::unique_ptr<aplpatch::Platform> platform = aplpatch::makeSystemPlatform();
  try {
    return aplpatch::runPatch(*platform, aplpatch::commandLineArguments(argc, argv));
  } catch (const std::exception& error) {
    // Caught here so that unwinding removes a partial new script.
    platform->print(std::string("Program aborted. ") + error.what() + "\n");
    return -1;
  }
}
