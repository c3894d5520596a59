#include "driver/backup_copy.h"

#include "driver/patch_line_finder.h"
#include "platform/byte_copy.h"

namespace aplpatch {

Status writeBackup(Platform& platform, ReadFile& source, const std::string& target, unsigned permissions,
                   bool* patched) {
  TemporaryFile copy(platform, target);
  Status status = copy.create(permissions);
  if (!status.ok()) return status;
  PatchLineWatch watch(copy.sink());
  copyAll(source, watch);
  status = source.status();
  Status finished = copy.finish();
  if (!status.ok()) return status;
  if (!finished.ok()) return finished;
  if (watch.found()) {
    if (patched != nullptr) *patched = true;
    return Status::failure("it is patched already; the backup keeps the script as generated");
  }
  return copy.commitAs(target);
}

}  // namespace aplpatch
