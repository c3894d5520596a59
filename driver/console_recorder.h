#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/program_console.h"

namespace aplpatch {

// A console that passes everything on to another and keeps a copy of every message printed, so
// that a run's log can repeat its console lines.
class ConsoleRecorder : public ProgramConsole {
 public:
  explicit ConsoleRecorder(ProgramConsole& console) : console_(console) {}

  // Everything printed so far, run together as printed.
  const std::string& printed() const { return printed_; }

  void print(std::string_view text) override {
    printed_.append(text);
    console_.print(text);
  }
  void flush() override { console_.flush(); }
  void printError(std::string_view text) override { console_.printError(text); }
  ByteSink& standardOutput() override { return console_.standardOutput(); }
  bool isInteractive() override { return console_.isInteractive(); }
  bool ownsConsoleWindow() override { return console_.ownsConsoleWindow(); }
  std::optional<std::string> readLine() override { return console_.readLine(); }

 private:
  ProgramConsole& console_;
  std::string printed_;
};

}  // namespace aplpatch
