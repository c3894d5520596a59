#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace aplpatch {

// A platform that passes every call on to another and keeps a copy of everything printed on the
// console, so that a run's log can repeat its console lines.
class ConsoleRecorder : public Platform {
 public:
  explicit ConsoleRecorder(Platform& platform) : platform_(platform) {}

  // Everything printed so far, run together as printed.
  const std::string& printed() const { return printed_; }

  void print(std::string_view text) override {
    printed_.append(text);
    platform_.print(text);
  }

  PathStyle pathStyle() const override { return platform_.pathStyle(); }
  Status makeFolder(const std::string& path) override { return platform_.makeFolder(path); }
  Opened<ReadFile> openForRead(const std::string& path) override { return platform_.openForRead(path); }
  Opened<WriteFile> createForWrite(const std::string& path) override { return platform_.createForWrite(path); }
  CreatedTemporary createTemporaryBeside(const std::string& target, unsigned permissions) override {
    return platform_.createTemporaryBeside(target, permissions);
  }
  Status removeFile(const std::string& path) override { return platform_.removeFile(path); }
  Status replaceFile(const std::string& from, const std::string& to) override {
    return platform_.replaceFile(from, to);
  }
  ProgramRun runProgram(const std::string& path, const std::vector<std::string>& arguments) override {
    return platform_.runProgram(path, arguments);
  }
  void flushConsole() override { platform_.flushConsole(); }
  std::string runningProgramPath() override { return platform_.runningProgramPath(); }
  std::vector<std::string> searchPathFolders() override { return platform_.searchPathFolders(); }
  bool isProgramFile(const std::string& path) override { return platform_.isProgramFile(path); }
  bool exists(const std::string& path) override { return platform_.exists(path); }
  Status moveFile(const std::string& from, const std::string& to) override { return platform_.moveFile(from, to); }
  Status copyPermissions(const std::string& from, const std::string& to) override {
    return platform_.copyPermissions(from, to);
  }
  std::string localTime() override { return platform_.localTime(); }
  ByteSink& standardOutput() override { return platform_.standardOutput(); }
  void printError(std::string_view text) override { platform_.printError(text); }

 private:
  Platform& platform_;
  std::string printed_;
};

}  // namespace aplpatch
