#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch::testing {

// The platform operations a fake can make fail, each counted on its own.
enum class Operation {
  kMakeFolder,
  kOpenForRead,
  kRead,
  kRewind,
  kCreateForWrite,  // creating a temporary file as well
  kWrite,
  kFlushToDisk,
  kClose,
  kRemove,
  kReplace,
  kSyncFolder,
  kRunProgram,
  kMove,
  kCopyPermissions,
};

// The entries of a fake platform's log, shared with its console.
using FakeLog = std::vector<std::string>;

// The console of a fake platform: its messages and what it flushes go into the platform's log, in
// order with the operations.
class FakeConsole : public ProgramConsole {
 public:
  explicit FakeConsole(std::shared_ptr<FakeLog> log) : log_(std::move(log)) {}

  void print(std::string_view text) override;
  void flush() override { log_->push_back("flush console"); }
  void printError(std::string_view text) override;
  ByteSink& standardOutput() override { return standardOutput_; }
  bool isInteractive() override { return interactive_; }
  bool ownsConsoleWindow() override { return ownsWindow_; }
  // The next of the lines given to setTypedLines(), logged as "read: LINE"; nothing once they are
  // all read.
  std::optional<std::string> readLine() override;

  // A person at the console, who types `lines` one by one; `ownsWindow` for a window of its own.
  void setTypedLines(std::vector<std::string> lines, bool ownsWindow = false) {
    interactive_ = true;
    ownsWindow_ = ownsWindow;
    typedLines_ = std::move(lines);
  }

  // The messages run together, exactly as printed.
  const std::string& printed() const { return printed_; }
  // What was written to standard output as data, and to standard error.
  const std::string& standardOutputBytes() const { return standardOutput_.bytes; }
  const std::string& errorOutput() const { return errorOutput_; }

 private:
  struct StringSink : ByteSink {
    bool write(const char* data, std::size_t size) override {
      bytes.append(data, size);
      return true;
    }
    std::string bytes;
  };

  // Logs what went to standard output or standard error as one entry, without its final newline.
  void logOutput(std::string_view prefix, std::string_view text);

  std::shared_ptr<FakeLog> log_;
  bool interactive_ = false;
  bool ownsWindow_ = false;
  std::vector<std::string> typedLines_;
  std::size_t linesRead_ = 0;
  std::string printed_;
  std::string errorOutput_;
  StringSink standardOutput_;
};

// An in-memory platform that records what a run does, one log line per operation and per console
// message, and fails the operations a test asks it to fail.
class FakePlatform : public Platform {
 public:
  // This program's file is /opt/aplpatch/aplpatch, or C:\aplpatch\aplpatch.exe in the Windows path style.
  explicit FakePlatform(PathStyle style = kPosixPathStyle);
  // Copies would share one log.
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;
  FakePlatform(FakePlatform&&) = default;
  FakePlatform& operator=(FakePlatform&&) = default;

  // The console whose messages the log records with the operations.
  FakeConsole& console() { return console_; }
  // The console messages run together, exactly as printed.
  const std::string& printed() const { return console_.printed(); }

  void addFile(const std::string& path, std::string bytes, unsigned permissions = 0644) {
    files_[path] = std::move(bytes);
    permissions_[path] = permissions;
  }
  // Makes another program hold the file at `path` for good: openForRead() fails with a sharing
  // violation after its retries, and programsHolding() names `holders`.
  void holdFile(const std::string& path, std::vector<std::string> holders) { held_[path] = std::move(holders); }
  // Makes `path` a symbolic link (to nothing the fake knows).
  void addLink(const std::string& path) { links_.insert(path); }
  // Makes the file at `path` one that a running program is writing: removeUnusedTemporary() keeps it.
  void markInUse(const std::string& path) { inUse_.insert(path); }
  // Makes removeUnusedTemporary() answer that the system keeps no locks.
  void setLocksUnsupported(bool unsupported) { locksUnsupported_ = unsupported; }
  // A folder, which openForRead() refuses as the system's platforms do.
  void addFolder(const std::string& path) { folders_.insert(path); }
  // The permission bits a file was created with or given by addFile().
  std::optional<unsigned> permissions(const std::string& path) const;
  std::optional<std::string> file(const std::string& path) const;
  const std::map<std::string, std::string>& files() const { return files_; }
  bool hasFolder(const std::string& path) const { return folders_.count(path) > 0; }
  // The temporary files that are still there.
  std::vector<std::string> temporaries() const;

  // Makes the `nth` call (from 1) of `operation` fail with `reason`; with `persistent`, every later
  // call fails as well.
  void failCall(Operation operation, int nth, std::string reason, bool persistent = false);
  // The same with the code of the system's error that the failure stands for.
  void failCall(Operation operation, int nth, StatusCode code, std::string reason, bool persistent = false);
  // The same for the `nth` platform call of any kind (reads and writes included, console messages
  // not), counted over all operations together.
  void failAnyCall(int nth, std::string reason, bool persistent = false);
  // Whether an injected failure has happened, and the operation that failed first.
  std::optional<Operation> firstFailure() const { return firstFailure_; }
  // Every operation that an injected failure has hit.
  const std::set<Operation>& failedOperations() const { return failedOperations_; }
  // Makes every read return at most `bytes` bytes, so that a script takes many reads.
  void setReadChunk(std::size_t bytes) { readChunk_ = bytes; }
  // Makes the writes to a file fail once it holds `bytes` bytes, as on a full disk (StatusCode::noSpace):
  // the write that crosses the limit keeps only the bytes up to it.
  void failWritesAfter(std::size_t bytes, std::string reason);
  void setExitCode(int code) { exitCodes_ = {code}; }
  // The exit status of each program run in turn; the last one for every later run.
  void setExitCodes(std::vector<int> codes) { exitCodes_ = std::move(codes); }
  // What every program run hands back as the tails of its standard output and standard error.
  void setProgramOutput(std::string output, std::string errors) {
    programOutput_ = std::move(output);
    programErrors_ = std::move(errors);
  }
  // Makes the program that runProgram() starts end by `signal`.
  void setEndedBySignal(int signal, std::string name) {
    signal_ = signal;
    signalName_ = std::move(name);
  }

  // The program files that can be started; by default aplc2.exe in the working folder.
  void setPrograms(std::set<std::string> paths) { programs_ = std::move(paths); }
  void setRunningProgramPath(std::string path) { runningProgramPath_ = std::move(path); }
  void setSearchPathFolders(std::vector<std::string> folders) { searchPathFolders_ = std::move(folders); }
  // What the choice of the script's twin asks; none of it is logged. Redirection is off unless a
  // test turns it on; fullPath() puts a relative path under the working folder.
  void setRedirectsLegacyPrograms(bool redirects) { redirects_ = redirects; }
  void setEnvironmentVariable(const std::string& name, std::string value) { environment_[name] = std::move(value); }
  void setWorkingFolder(std::string folder) { workingFolder_ = std::move(folder); }
  void setLastWritten(const std::string& path, std::int64_t time) { lastWritten_[path] = time; }
  // The user's own folders; none unless a test gives them, so that a run records nothing there.
  void setUserFolders(std::string settings, std::string state) {
    userSettingsFolder_ = std::move(settings);
    userStateFolder_ = std::move(state);
  }

  // Every operation and console message in order: "copy F.APL to apl/F.APL", "print: analysis
  // done", with " [failed]" after an operation that failed.
  const std::vector<std::string>& log() const { return *log_; }
  // The files as they were when a program was started.
  const std::map<std::string, std::string>& filesWhenRun() const { return filesWhenRun_; }
  // The same for each program run, in order.
  const std::vector<std::map<std::string, std::string>>& filesWhenEachRun() const { return filesWhenEachRun_; }

  PathStyle pathStyle() const override { return style_; }
  Status makeFolder(const std::string& path) override;
  Opened<ReadFile> openForRead(const std::string& path) override;
  std::vector<std::string> programsHolding(const std::string& path) override;
  Opened<WriteFile> createForWrite(const std::string& path) override;
  // Names the temporaries after their target and a count: F.APL.tmp1, F.APL.tmp2.
  CreatedTemporary createTemporaryBeside(const std::string& target, unsigned permissions) override;
  Status removeFile(const std::string& path) override;
  Status replaceFile(const std::string& from, const std::string& to) override;
  Status syncFolderOf(const std::string& path) override {
    return record("sync folder of " + path, Operation::kSyncFolder);
  }
  ProgramRun runProgram(const std::string& name, const std::vector<std::string>& arguments) override;
  std::string runningProgramPath() override { return runningProgramPath_; }
  std::vector<std::string> searchPathFolders() override { return searchPathFolders_; }
  // A program of setPrograms() can be started; a folder or another file is found but cannot.
  ProgramFileCheck checkProgramFile(const std::string& path) override;
  bool isLink(const std::string& path) override { return links_.count(path) > 0; }
  // The files directly in `folder`, as split by the fake's path style; not logged.
  std::vector<std::string> fileNamesIn(const std::string& folder) override;
  // Logged as "remove stale PATH", with " [in use]", " [cannot tell]" or " [failed]" for a kept file.
  StaleRemoval removeUnusedTemporary(const std::string& path) override;
  bool exists(const std::string& path) override;
  Status moveFile(const std::string& from, const std::string& to) override;
  Status copyPermissions(const std::string& from, const std::string& to) override;
  // Always the same moment, so that a test can state the whole log of a run.
  std::string localTime() override { return "2026-03-01T14:05:09"; }
  bool redirectsLegacyPrograms() override { return redirects_; }
  std::string environmentVariable(const std::string& name) override;
  std::string fullPath(const std::string& path) override;
  // A file's time is 0 unless setLastWritten() gave it one.
  FileStamp fileStamp(const std::string& path) override;
  std::string userSettingsFolder() override { return userSettingsFolder_; }
  std::string userStateFolder() override { return userStateFolder_; }

 private:
  friend class FakeReadFile;
  friend class FakeWriteFile;

  struct Injection {
    int nth;
    bool persistent;
    StatusCode code;
    std::string reason;
  };

  // Counts a call of `operation`; the failure when this call is to fail.
  std::optional<Status> injectedFailure(Operation operation);
  // Logs `entry` and turns an injected failure into the returned status.
  Status record(std::string entry, Operation operation);
  // Appends to a file being written, honouring the byte limit; the failure if any.
  std::optional<Status> appendToFile(const std::string& path, std::string_view bytes);

  PathStyle style_;
  std::map<std::string, std::string> files_;
  std::map<std::string, unsigned> permissions_;
  int temporaries_ = 0;
  std::set<std::string> folders_;
  std::map<Operation, Injection> injections_;
  std::map<Operation, int> calls_;
  std::optional<Injection> anyCallInjection_;
  int allCalls_ = 0;
  std::optional<Operation> firstFailure_;
  std::set<Operation> failedOperations_;
  std::size_t readChunk_ = static_cast<std::size_t>(-1);
  std::optional<std::size_t> writeLimit_;
  std::string writeLimitReason_;
  std::vector<int> exitCodes_ = {0};
  int signal_ = 0;
  std::string signalName_;
  std::string programOutput_;
  std::string programErrors_;
  std::shared_ptr<FakeLog> log_ = std::make_shared<FakeLog>();
  FakeConsole console_{log_};
  std::map<std::string, std::string> filesWhenRun_;
  std::vector<std::map<std::string, std::string>> filesWhenEachRun_;
  std::set<std::string> programs_ = {"aplc2.exe"};
  std::string runningProgramPath_ = "/opt/aplpatch/aplpatch";
  std::vector<std::string> searchPathFolders_ = {"/usr/bin"};
  bool redirects_ = false;
  std::map<std::string, std::string> environment_;
  std::string workingFolder_;
  std::map<std::string, std::int64_t> lastWritten_;
  std::map<std::string, std::vector<std::string>> held_;
  std::set<std::string> links_;
  std::set<std::string> inUse_;
  bool locksUnsupported_ = false;
  std::string userSettingsFolder_;
  std::string userStateFolder_;
};

}  // namespace aplpatch::testing
