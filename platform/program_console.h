#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/byte_stream.h"
#include "base/console.h"

namespace aplpatch {

// The console of a whole program: messages on standard output (print(), as the rules use it),
// messages on standard error, and data on standard output. It stands apart from the platform, so
// that what watches the console (the run's recorder of its lines) wraps this alone.
class ProgramConsole : public Console {
 public:
  // Makes sure everything printed so far has reached standard output, ahead of whatever a program
  // started next prints to the same console.
  virtual void flush() = 0;
  // A message on standard error, written the way print() writes to standard output.
  virtual void printError(std::string_view text) = 0;
  // Standard output for data: bytes written exactly as given, without line-end translation.
  virtual ByteSink& standardOutput() = 0;

  // What a person at the console needs: whether one can answer, and the answer. A console that
  // knows nothing of a person (a recorder, a test's) has none.

  // Whether a person can answer here: standard input and standard output are both the console.
  virtual bool isInteractive() { return false; }
  // Whether the console window was made for this program alone (started from the desktop or the
  // Start menu), so that it closes, with everything printed, the moment the program ends.
  virtual bool ownsConsoleWindow() { return false; }
  // One line from standard input without its line end; nothing at the end of the input.
  virtual std::optional<std::string> readLine() { return std::nullopt; }
};

// The console of the system this program was built for. A failed write to it is lost: the console
// may have gone away, and that must not end a run.
std::unique_ptr<ProgramConsole> makeSystemConsole();

}  // namespace aplpatch
