#pragma once

#include "driver/patch_paths.h"
#include "platform/platform.h"

namespace aplpatch {

// What the cleanup at the start of a run did.
struct StaleCleanup {
  int removed = 0;
  int kept = 0;  // found, but in use, not known to be unused, or not removable
};

// Removes the temporaries that runs on this script were killed before removing: the names that
// temporary files of the script get beside it and, with `inBackupFolder`, those of its backups and
// log in the backup folder. Nothing else is looked at, and a temporary that a running program is
// still writing is kept. Never fails: what cannot be removed stays.
StaleCleanup removeStaleTemporaries(Platform& platform, const PatchPaths& paths, bool inBackupFolder);

}  // namespace aplpatch
