#pragma once

#include <memory>
#include <string>

#include "base/status.h"
#include "platform/platform.h"

namespace aplpatch {

// A file written in full under a unique name beside its target before it takes the target's place.
// Nothing at a fixed name is ever opened: a link or file planted beside the target is left alone,
// and two runs at once each write their own file. Until commitAs() succeeds, the destructor and an
// interrupt remove it, so no failure path leaves a partial file behind.
class TemporaryFile {
 public:
  // The mode of a new file when the caller has none to copy.
  static constexpr unsigned kUsualPermissions = 0644;

  TemporaryFile(Platform& platform, std::string target);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates the file beside the target with the permission bits `permissions`.
  Status create(unsigned permissions = kUsualPermissions);
  // Where to write; only after create() succeeded and before finish().
  WriteFile& sink() { return *file_; }
  // Writes everything to the disk and closes the file; the first failure of a write, the flush or
  // the close is returned.
  Status finish();
  // Puts the finished file in the place of `target` in one step, keeps it and syncs the folder, so
  // that the rename survives a power cut. On failure the file stays, to be removed by discard() or
  // the destructor; a folder that cannot be synced is no failure.
  Status commitAs(const std::string& target);
  // As commitAs(), but fails, changing nothing, when a file or folder is at `target`: a file that
  // appeared there meanwhile is never replaced.
  Status commitAsNew(const std::string& target);
  // Closes and removes the file now, so that the caller can report a file that could not be removed.
  // Success when there is nothing left to remove.
  Status discard();

  const std::string& target() const { return target_; }
  // The temporary's own name; empty until create() succeeded.
  const std::string& path() const { return path_; }

 private:
  // Keeps the file once it has been put in place at `target` with `status`.
  Status kept(const Status& status, const std::string& target);

  Platform& platform_;
  std::string target_;
  std::string path_;
  std::unique_ptr<WriteFile> file_;
  int signalSlot_ = -1;
  bool created_ = false;
  bool committed_ = false;
};

}  // namespace aplpatch
