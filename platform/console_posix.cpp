// The console on POSIX systems: messages through stdio, data written straight to the descriptor.

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string_view>

#include "platform/posix_io.h"
#include "platform/program_console.h"

namespace aplpatch {

namespace {

// Standard output as a sink of bytes, for data that is not messages.
class StandardOutputSink : public ByteSink {
 public:
  bool write(const char* data, std::size_t size) override {
    // Messages printed through stdio go first.
    std::fflush(stdout);
    return posix::writeAll(STDOUT_FILENO, data, size);
  }
};

class PosixConsole : public ProgramConsole {
 public:
  void print(std::string_view text) override { std::fwrite(text.data(), 1, text.size(), stdout); }

  void flush() override { std::fflush(stdout); }

  void printError(std::string_view text) override {
    std::fflush(stdout);
    std::fwrite(text.data(), 1, text.size(), stderr);
  }

  ByteSink& standardOutput() override { return standardOutput_; }

  bool isInteractive() override { return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1; }

  std::optional<std::string> readLine() override {
    std::fflush(stdout);
    std::string line;
    for (int c; (c = std::getc(stdin)) != EOF;) {
      if (c == '\n') return line;
      line.push_back(static_cast<char>(c));
    }
    if (line.empty()) return std::nullopt;
    return line;
  }

 private:
  StandardOutputSink standardOutput_;
};

}  // namespace

std::unique_ptr<ProgramConsole> makeSystemConsole() { return std::make_unique<PosixConsole>(); }

}  // namespace aplpatch
