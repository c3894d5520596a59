#pragma once

#include <string>

#include "base/status.h"
#include "platform/platform.h"
#include "platform/temporary_file.h"

namespace aplpatch {

// Copies all of `source` (from where it stands) to a temporary beside `target` with the permission
// bits `permissions` and puts that in the place of `target`. A link or file planted at `target` is
// replaced, never followed; on failure `target` is left as it was. A source that holds the patch
// description line never replaces the backup, which keeps the script as the host generated it: the
// copy is dropped, the result is a failure and `patched`, when given, is set.
Status writeBackup(Platform& platform, ReadFile& source, const std::string& target, unsigned permissions,
                   bool* patched = nullptr);

// Writes everything to `main` and, as far as it goes, to `copy` as well: a failing copy never
// fails the main file; its own status keeps the reason.
class CopyingSink : public ByteSink {
 public:
  CopyingSink(ByteSink& main, WriteFile* copy) : main_(main), copy_(copy) {}
  bool write(const char* data, std::size_t size) override {
    bool written = main_.write(data, size);
    if (copy_ != nullptr) copy_->write(data, size);
    return written;
  }

 private:
  ByteSink& main_;
  WriteFile* copy_;
};

}  // namespace aplpatch
