#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/status.h"
#include "driver/patch_paths.h"
#include "driver/script_start.h"
#include "driver/settings_file.h"
#include "driver/virtual_store.h"
#include "platform/platform.h"

namespace aplpatch {

// A script made ready for its rewrite, as far as that goes without creating or changing anything:
// the file to work on, the paths derived from it, the settings and the script opened with its first
// lines read ahead.
struct PreparedScript {
  ScriptFile file;          // the script as given, or the twin Windows keeps of it, and why
  PatchPaths paths;         // derived from the script as given and `file`
  LoadedSettings settings;  // read before the script is opened; nothing of it printed yet
  Status opened = Status::success();  // why the script could not be opened, when it could not
  bool heldByAnotherProgram = false;   // with `opened` a failure: another program held the script
  std::unique_ptr<ScriptStart> start;  // null when `opened` is a failure
};

// The first steps that a run and a preview share: chooses the file to work on for `script` (as the
// host gave it), derives its paths, loads the settings and opens the file, reading ahead far enough
// to tell whether it is patched already (`start->isAlreadyPatched()`). Prints nothing itself:
// `beforeOpening`, when given, gets the script as far as it is prepared (file, paths, settings) just
// before the file is opened, so that a run says what it goes by first. Each caller then does with
// the result what its job asks, and stops where the two differ.
PreparedScript prepareScript(Platform& platform, const std::string& script,
                             const std::function<void(const PreparedScript&)>& beforeOpening = {});

}  // namespace aplpatch
