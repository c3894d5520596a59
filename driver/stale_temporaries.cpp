#include "driver/stale_temporaries.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/temporary_name.h"

namespace aplpatch {

namespace {

// Removes in `folder` (a path, "" for the working folder) the temporaries of the files `targets`,
// each given by its full path; `prefix` joins the folder and a name.
void removeIn(Platform& platform, const std::string& folder, const std::string& prefix,
              const std::vector<std::string>& targets, StaleCleanup& cleanup) {
  const PathStyle style = platform.pathStyle();
  for (const std::string& name : platform.fileNamesIn(folder)) {
    bool ours = false;
    for (const std::string& target : targets) ours = ours || isTemporaryNameOf(name, fileNameOf(target, style));
    if (!ours) continue;
    if (platform.removeUnusedTemporary(prefix + name) == StaleRemoval::kRemoved)
      ++cleanup.removed;
    else
      ++cleanup.kept;
  }
}

}  // namespace

StaleCleanup removeStaleTemporaries(Platform& platform, const PatchPaths& paths, bool inBackupFolder) {
  StaleCleanup cleanup;
  removeIn(platform, paths.dirPrefix, paths.dirPrefix, {paths.file}, cleanup);
  if (inBackupFolder) {
    removeIn(platform, paths.backupFolder, paths.backupFolder + platform.pathStyle().separator,
             {paths.backupScript, paths.backupNewScript, paths.log}, cleanup);
  }
  return cleanup;
}

}  // namespace aplpatch
