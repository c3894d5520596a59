#include "platform/temporary_file.h"

#include <utility>

#include "platform/signal_cleanup.h"

namespace aplpatch {

TemporaryFile::TemporaryFile(Platform& platform, std::string target)
    : platform_(platform), target_(std::move(target)) {}

TemporaryFile::~TemporaryFile() { discard(); }

Status TemporaryFile::discard() {
  // Some systems cannot remove a file that is still open: close it first.
  file_.reset();
  if (!created_ || committed_) return Status::success();
  // Tried once only: a second attempt would fail the same way.
  created_ = false;
  Status removed = platform_.removeFile(path_);
  signal_cleanup::release(signalSlot_);
  signalSlot_ = -1;
  return removed;
}

Status TemporaryFile::create(unsigned permissions) {
  signal_cleanup::Deferral interruptsWait;
  CreatedTemporary created = platform_.createTemporaryBeside(target_, permissions);
  if (!created.status.ok()) return created.status;
  file_ = std::move(created.file);
  path_ = std::move(created.path);
  created_ = true;
  signalSlot_ = signal_cleanup::guard(path_.c_str());
  return Status::success();
}

Status TemporaryFile::finish() {
  Status status = file_->status();
  if (status.ok()) status = file_->flushToDisk();
  // Close even after a failure, but report the first one. The object stays until the file is in
  // place or removed: on some systems it holds the lock that tells other runs the file is in use.
  Status closed = file_->close();
  return status.ok() ? closed : status;
}

Status TemporaryFile::commitAs(const std::string& target) {
  return kept(platform_.replaceFile(path_, target), target);
}

Status TemporaryFile::commitAsNew(const std::string& target) {
  return kept(platform_.moveFile(path_, target), target);
}

Status TemporaryFile::kept(const Status& status, const std::string& target) {
  if (!status.ok()) return status;
  committed_ = true;
  file_.reset();
  // Released only now: an interrupt just before the rename still removes the file. One just after
  // finds its name gone and changes nothing.
  signal_cleanup::release(signalSlot_);
  signalSlot_ = -1;
  // The file is in place whether or not its folder can be synced: a failure there changes nothing.
  platform_.syncFolderOf(target);
  return status;
}

}  // namespace aplpatch
