#include "driver/backup_copy.h"

#include <vector>

namespace aplpatch {

Status writeBackup(Platform& platform, ReadFile& source, const std::string& target, unsigned permissions) {
  TemporaryFile copy(platform, target);
  Status status = copy.create(permissions);
  if (!status.ok()) return status;
  std::vector<char> buffer(64 * 1024);
  for (std::size_t n; (n = source.read(buffer.data(), buffer.size())) > 0;) {
    if (!copy.sink().write(buffer.data(), n)) break;
  }
  status = source.status();
  Status finished = copy.finish();
  if (!status.ok()) return status;
  if (!finished.ok()) return finished;
  return copy.commitAs(target);
}

}  // namespace aplpatch
