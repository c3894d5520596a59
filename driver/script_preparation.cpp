#include "driver/script_preparation.h"

#include <utility>

namespace aplpatch {

PreparedScript prepareScript(Platform& platform, const std::string& script,
                             const std::function<void(const PreparedScript&)>& beforeOpening) {
  PreparedScript prepared;
  prepared.file = scriptFileToWorkOn(platform, script);
  prepared.paths = derivePatchPaths(script, platform.pathStyle(), prepared.file.path);
  // The settings come first, so that a run reads them before it touches the script.
  prepared.settings = loadSettings(platform);
  if (beforeOpening) beforeOpening(prepared);
  Opened<ReadFile> input = platform.openForRead(prepared.paths.file);
  prepared.opened = input.status;
  prepared.heldByAnotherProgram = input.heldByAnotherProgram;
  if (input.file != nullptr) prepared.start = std::make_unique<ScriptStart>(std::move(input.file));
  return prepared;
}

}  // namespace aplpatch
