#include "driver/backup_copy.h"

#include "platform/byte_copy.h"

namespace aplpatch {

Status writeBackup(Platform& platform, ReadFile& source, const std::string& target, unsigned permissions) {
  TemporaryFile copy(platform, target);
  Status status = copy.create(permissions);
  if (!status.ok()) return status;
  copyAll(source, copy.sink());
  status = source.status();
  Status finished = copy.finish();
  if (!status.ok()) return status;
  if (!finished.ok()) return finished;
  return copy.commitAs(target);
}

}  // namespace aplpatch
