#pragma once

#include <memory>
#include <string>

#include "driver/platform.h"
#include "driver/status.h"

namespace aplpatch {

// A file written in full before it takes the place of another. Until commitAs() succeeds, the
// destructor closes and removes it, so no failure path leaves a partial file behind.
class TemporaryFile {
 public:
  TemporaryFile(Platform& platform, std::string path);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Creates the file (emptying one of the same name).
  Status create();
  // Where to write; only after create() succeeded and before finish().
  WriteFile& sink() { return *file_; }
  // Writes everything to the disk and closes the file; the first failure of a write, the flush or
  // the close is returned.
  Status finish();
  // Puts the finished file in the place of `target` in one step and keeps it.
  Status commitAs(const std::string& target);
  // Closes and removes the file now, so that the caller can report a file that could not be removed.
  // Success when there is nothing left to remove.
  Status discard();

  const std::string& path() const { return path_; }

 private:
  Platform& platform_;
  std::string path_;
  std::unique_ptr<WriteFile> file_;
  bool created_ = false;
  bool committed_ = false;
};

}  // namespace aplpatch
