#include "testing/fake_platform.h"

#include <algorithm>
#include <utility>

namespace aplpatch::testing {

namespace {
constexpr const char* kMissing = "No such file or directory";
}  // namespace

class FakeReadFile : public ReadFile {
 public:
  FakeReadFile(FakePlatform& platform, std::string path, std::string bytes, unsigned permissions)
      : platform_(platform), path_(std::move(path)), bytes_(std::move(bytes)), permissions_(permissions) {}
  ~FakeReadFile() override { platform_.log_->push_back("close " + path_); }

  std::size_t read(char* buffer, std::size_t size) override {
    if (!status_.ok()) return 0;
    if (std::optional<std::string> failure = platform_.injectedFailure(Operation::kRead)) {
      status_ = Status::failure(*failure);
      return 0;
    }
    std::size_t n = std::min({size, bytes_.size() - pos_, platform_.readChunk_});
    bytes_.copy(buffer, n, pos_);
    pos_ += n;
    return n;
  }

  Status status() const override { return status_; }
  unsigned permissions() const override { return permissions_; }
  Status rewind() override {
    Status status = platform_.record("rewind " + path_, Operation::kRewind);
    if (status.ok()) pos_ = 0;
    return status;
  }

 private:
  FakePlatform& platform_;
  std::string path_;
  std::string bytes_;
  unsigned permissions_;
  std::size_t pos_ = 0;
  Status status_ = Status::success();
};

class FakeWriteFile : public WriteFile {
 public:
  FakeWriteFile(FakePlatform& platform, std::string path) : platform_(platform), path_(std::move(path)) {}
  ~FakeWriteFile() override {
    if (!closed_) platform_.log_->push_back("close " + path_ + " unchecked");
  }

  bool write(const char* data, std::size_t size) override {
    if (!status_.ok()) return false;
    // Consecutive writes to one file make one log line.
    std::string entry = "write " + path_;
    if (platform_.log_->empty() || platform_.log_->back() != entry) platform_.log_->push_back(entry);
    std::optional<std::string> failure = platform_.injectedFailure(Operation::kWrite);
    if (!failure) failure = platform_.appendToFile(path_, std::string_view(data, size));
    if (failure) {
      status_ = Status::failure(*failure);
      platform_.log_->back() += " [failed]";
    }
    return status_.ok();
  }

  Status status() const override { return status_; }
  Status flushToDisk() override {
    return platform_.record("flush " + path_ + " to disk", Operation::kFlushToDisk);
  }
  Status close() override {
    closed_ = true;
    return platform_.record("close " + path_, Operation::kClose);
  }

 private:
  FakePlatform& platform_;
  std::string path_;
  Status status_ = Status::success();
  bool closed_ = false;
};

std::optional<unsigned> FakePlatform::permissions(const std::string& path) const {
  auto found = permissions_.find(path);
  if (found == permissions_.end() || files_.count(path) == 0) return std::nullopt;
  return found->second;
}

std::vector<std::string> FakePlatform::temporaries() const {
  std::vector<std::string> found;
  for (const auto& [path, bytes] : files_) {
    if (path.find(".tmp") != std::string::npos) found.push_back(path);
  }
  return found;
}

std::optional<std::string> FakePlatform::file(const std::string& path) const {
  auto found = files_.find(path);
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

void FakePlatform::failCall(Operation operation, int nth, std::string reason, bool persistent) {
  injections_[operation] = {nth, persistent, std::move(reason)};
}

void FakePlatform::failAnyCall(int nth, std::string reason, bool persistent) {
  anyCallInjection_ = Injection{nth, persistent, std::move(reason)};
}

void FakePlatform::failWritesAfter(std::size_t bytes, std::string reason) {
  writeLimit_ = bytes;
  writeLimitReason_ = std::move(reason);
}

std::optional<std::string> FakePlatform::injectedFailure(Operation operation) {
  auto hits = [](const Injection& injection, int call) {
    return call == injection.nth || (injection.persistent && call > injection.nth);
  };
  int call = ++calls_[operation];
  ++allCalls_;
  std::optional<std::string> failure;
  if (auto found = injections_.find(operation); found != injections_.end() && hits(found->second, call))
    failure = found->second.reason;
  else if (anyCallInjection_ && hits(*anyCallInjection_, allCalls_))
    failure = anyCallInjection_->reason;
  if (failure && !firstFailure_) firstFailure_ = operation;
  if (failure) failedOperations_.insert(operation);
  return failure;
}

Status FakePlatform::record(std::string entry, Operation operation) {
  std::optional<std::string> failure = injectedFailure(operation);
  if (failure) entry += " [failed]";
  log_->push_back(std::move(entry));
  return failure ? Status::failure(*failure) : Status::success();
}

std::optional<std::string> FakePlatform::appendToFile(const std::string& path, std::string_view bytes) {
  std::string& target = files_[path];
  if (writeLimit_ && target.size() + bytes.size() > *writeLimit_) {
    target.append(bytes.substr(0, *writeLimit_ - std::min(*writeLimit_, target.size())));
    return writeLimitReason_;
  }
  target.append(bytes);
  return std::nullopt;
}

Status FakePlatform::makeFolder(const std::string& path) {
  Status status = record("make folder " + path, Operation::kMakeFolder);
  if (status.ok()) folders_.insert(path);
  return status;
}

Opened<ReadFile> FakePlatform::openForRead(const std::string& path) {
  Status status = record("open " + path + " for reading", Operation::kOpenForRead);
  if (status.ok() && files_.count(path) == 0) {
    log_->back() += " [failed]";
    status = Status::failure(folders_.count(path) > 0 ? "not a regular file" : kMissing);
  }
  if (!status.ok()) return {nullptr, status};
  return {std::make_unique<FakeReadFile>(*this, path, files_[path], permissions(path).value_or(0644)), status};
}

Opened<WriteFile> FakePlatform::createForWrite(const std::string& path) {
  Status status = record("create " + path, Operation::kCreateForWrite);
  if (!status.ok()) return {nullptr, status};
  files_[path].clear();
  return {std::make_unique<FakeWriteFile>(*this, path), status};
}

CreatedTemporary FakePlatform::createTemporaryBeside(const std::string& target, unsigned permissions) {
  std::string path = target + ".tmp" + std::to_string(++temporaries_);
  Status status = record("create " + path, Operation::kCreateForWrite);
  if (!status.ok()) return {nullptr, "", status};
  files_[path].clear();
  permissions_[path] = permissions;
  return {std::make_unique<FakeWriteFile>(*this, path), path, status};
}

Status FakePlatform::removeFile(const std::string& path) {
  Status status = record("remove " + path, Operation::kRemove);
  if (status.ok()) {
    files_.erase(path);
    permissions_.erase(path);
  }
  return status;
}

Status FakePlatform::replaceFile(const std::string& from, const std::string& to) {
  Status status = record("replace " + to + " with " + from, Operation::kReplace);
  if (!status.ok()) return status;
  auto source = files_.find(from);
  if (source == files_.end()) {
    log_->back() += " [failed]";
    return Status::failure(kMissing);
  }
  std::string bytes = std::move(source->second);
  files_.erase(source);
  files_[to] = std::move(bytes);
  if (auto mode = permissions_.find(from); mode != permissions_.end()) {
    permissions_[to] = mode->second;
    permissions_.erase(mode);
  }
  return status;
}

ProgramRun FakePlatform::runProgram(const std::string& name, const std::vector<std::string>& arguments) {
  std::string entry = "run " + name;
  for (const std::string& argument : arguments) entry += " " + argument;
  Status status = record(std::move(entry), Operation::kRunProgram);
  if (!status.ok()) return {status, 0, 0, {}};
  filesWhenRun_ = files_;
  return {status, exitCode_, signal_, signalName_};
}

void FakeConsole::logOutput(std::string_view prefix, std::string_view text) {
  std::string entry(prefix);
  entry.append(text);
  if (!entry.empty() && entry.back() == '\n') entry.pop_back();
  log_->push_back(std::move(entry));
}

void FakeConsole::print(std::string_view text) {
  printed_.append(text);
  logOutput("print: ", text);
}

void FakeConsole::printError(std::string_view text) {
  errorOutput_.append(text);
  logOutput("error: ", text);
}

std::optional<std::string> FakeConsole::readLine() {
  if (linesRead_ >= typedLines_.size()) {
    log_->push_back("read: end of input");
    return std::nullopt;
  }
  log_->push_back("read: " + typedLines_[linesRead_]);
  return typedLines_[linesRead_++];
}

bool FakePlatform::exists(const std::string& path) {
  return files_.count(path) > 0 || folders_.count(path) > 0 || programs_.count(path) > 0;
}

Status FakePlatform::moveFile(const std::string& from, const std::string& to) {
  Status status = record("move " + from + " to " + to, Operation::kMove);
  if (!status.ok()) return status;
  auto source = files_.find(from);
  if (source == files_.end() || exists(to)) {
    log_->back() += " [failed]";
    return Status::failure(source == files_.end() ? kMissing : "File exists");
  }
  std::string bytes = std::move(source->second);
  files_.erase(source);
  files_[to] = std::move(bytes);
  if (auto mode = permissions_.find(from); mode != permissions_.end()) {
    permissions_[to] = mode->second;
    permissions_.erase(mode);
  }
  return status;
}

Status FakePlatform::copyPermissions(const std::string& from, const std::string& to) {
  return record("copy permissions of " + from + " to " + to, Operation::kCopyPermissions);
}

std::string FakePlatform::environmentVariable(const std::string& name) {
  auto found = environment_.find(name);
  return found == environment_.end() ? std::string() : found->second;
}

std::string FakePlatform::fullPath(const std::string& path) {
  bool absolute = path.find_first_of(style_.nameSeparators) == 0 || (path.size() > 1 && path[1] == ':');
  if (absolute || workingFolder_.empty()) return path;
  return workingFolder_ + style_.separator + path;
}

FileStamp FakePlatform::fileStamp(const std::string& path) {
  if (files_.count(path) == 0) return {};
  auto time = lastWritten_.find(path);
  return {true, time == lastWritten_.end() ? 0 : time->second};
}

}  // namespace aplpatch::testing
