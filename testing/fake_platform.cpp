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
    if (std::optional<Status> failure = platform_.injectedFailure(Operation::kRead)) {
      status_ = *failure;
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
    std::optional<Status> failure = platform_.injectedFailure(Operation::kWrite);
    if (!failure) failure = platform_.appendToFile(path_, std::string_view(data, size));
    if (failure) {
      status_ = *failure;
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

FakePlatform::FakePlatform(PathStyle style) : style_(style) {
  if (style.separator == kWindowsPathStyle.separator) runningProgramPath_ = "C:\\aplpatch\\aplpatch.exe";
}

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
  failCall(operation, nth, StatusCode::other, std::move(reason), persistent);
}

void FakePlatform::failCall(Operation operation, int nth, StatusCode code, std::string reason, bool persistent) {
  injections_[operation] = {nth, persistent, code, std::move(reason)};
}

void FakePlatform::failAnyCall(int nth, std::string reason, bool persistent) {
  anyCallInjection_ = Injection{nth, persistent, StatusCode::other, std::move(reason)};
}

void FakePlatform::failWritesAfter(std::size_t bytes, std::string reason) {
  writeLimit_ = bytes;
  writeLimitReason_ = std::move(reason);
}

std::optional<Status> FakePlatform::injectedFailure(Operation operation) {
  auto hits = [](const Injection& injection, int call) {
    return call == injection.nth || (injection.persistent && call > injection.nth);
  };
  int call = ++calls_[operation];
  ++allCalls_;
  std::optional<Status> failure;
  if (auto found = injections_.find(operation); found != injections_.end() && hits(found->second, call))
    failure = Status::failure(found->second.code, found->second.reason);
  else if (anyCallInjection_ && hits(*anyCallInjection_, allCalls_))
    failure = Status::failure(anyCallInjection_->code, anyCallInjection_->reason);
  if (failure && !firstFailure_) firstFailure_ = operation;
  if (failure) failedOperations_.insert(operation);
  return failure;
}

Status FakePlatform::record(std::string entry, Operation operation) {
  std::optional<Status> failure = injectedFailure(operation);
  if (failure) entry += " [failed]";
  log_->push_back(std::move(entry));
  return failure ? *failure : Status::success();
}

std::optional<Status> FakePlatform::appendToFile(const std::string& path, std::string_view bytes) {
  std::string& target = files_[path];
  if (writeLimit_ && target.size() + bytes.size() > *writeLimit_) {
    target.append(bytes.substr(0, *writeLimit_ - std::min(*writeLimit_, target.size())));
    return Status::failure(StatusCode::noSpace, writeLimitReason_);
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
    status = folders_.count(path) > 0 ? Status::failure(StatusCode::notRegularFile, "not a regular file")
                                      : Status::failure(StatusCode::notFound, kMissing);
  }
  if (status.ok() && held_.count(path) > 0) {
    log_->back() += " [held]";
    return {nullptr, Status::failure("The process cannot access the file because it is being used by another process"),
            true};
  }
  if (!status.ok()) return {nullptr, status};
  return {std::make_unique<FakeReadFile>(*this, path, files_[path], permissions(path).value_or(0644)), status};
}

std::vector<std::string> FakePlatform::programsHolding(const std::string& path) {
  auto found = held_.find(path);
  return found == held_.end() ? std::vector<std::string>() : found->second;
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
    return Status::failure(StatusCode::notFound, kMissing);
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
  if (!status.ok()) return {status, 0, 0, {}, {}, {}};
  filesWhenRun_ = files_;
  filesWhenEachRun_.push_back(files_);
  const std::size_t run = std::min(filesWhenEachRun_.size(), exitCodes_.size()) - 1;
  return {status, exitCodes_[run], signal_, signalName_, programOutput_, programErrors_};
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

ProgramFileCheck FakePlatform::checkProgramFile(const std::string& path) {
  if (programs_.count(path) > 0) return {true, true, {}};
  if (folders_.count(path) > 0) return {true, false, "a folder"};
  if (files_.count(path) > 0) return {true, false, "not a program that the system can start: Exec format error"};
  return {};
}

std::vector<std::string> FakePlatform::fileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& [path, bytes] : files_) {
    std::size_t last = path.find_last_of(style_.nameSeparators);
    std::string in = last == std::string::npos ? std::string() : path.substr(0, last);
    // "apl" and "apl/" name the same folder.
    std::string wanted = folder;
    if (!wanted.empty() && style_.nameSeparators.find(wanted.back()) != std::string_view::npos) wanted.pop_back();
    if (in == wanted) names.push_back(path.substr(last == std::string::npos ? 0 : last + 1));
  }
  return names;
}

StaleRemoval FakePlatform::removeUnusedTemporary(const std::string& path) {
  std::string entry = "remove stale " + path;
  StaleRemoval result = StaleRemoval::kRemoved;
  if (files_.count(path) == 0 || links_.count(path) > 0) {
    result = StaleRemoval::kFailed;
    entry += " [failed]";
  } else if (inUse_.count(path) > 0) {
    result = StaleRemoval::kInUse;
    entry += " [in use]";
  } else if (locksUnsupported_) {
    result = StaleRemoval::kCannotTell;
    entry += " [cannot tell]";
  } else if (injectedFailure(Operation::kRemove)) {
    result = StaleRemoval::kFailed;
    entry += " [failed]";
  } else {
    files_.erase(path);
    permissions_.erase(path);
  }
  log_->push_back(std::move(entry));
  return result;
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
    return source == files_.end() ? Status::failure(StatusCode::notFound, kMissing)
                                  : Status::failure(StatusCode::alreadyExists, "File exists");
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
