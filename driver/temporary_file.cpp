#include "driver/temporary_file.h"

#include <utility>

namespace aplpatch {

TemporaryFile::TemporaryFile(Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {}

TemporaryFile::~TemporaryFile() { discard(); }

Status TemporaryFile::discard() {
  // Some systems cannot remove a file that is still open: close it first.
  file_.reset();
  if (!created_ || committed_) return Status::success();
  // Tried once only: a second attempt would fail the same way.
  created_ = false;
  return platform_.removeFile(path_);
}

Status TemporaryFile::create() {
  Opened<WriteFile> opened = platform_.createForWrite(path_);
  if (!opened.status.ok()) return opened.status;
  file_ = std::move(opened.file);
  created_ = true;
  return Status::success();
}

Status TemporaryFile::finish() {
  Status status = file_->status();
  if (status.ok()) status = file_->flushToDisk();
  // Close even after a failure, but report the first one.
  Status closed = file_->close();
  file_.reset();
  return status.ok() ? closed : status;
}

Status TemporaryFile::commitAs(const std::string& target) {
  Status status = platform_.replaceFile(path_, target);
  if (status.ok()) committed_ = true;
  return status;
}

}  // namespace aplpatch
