// Stands in for the adventure compiler in tests and demos. It compiles nothing: it says so, shows
// and records how it was called, checks that the script it was given exists, and exits with the
// status the caller asks for.
//
//   APLC2_STANDIN_LOG   a file to which each call appends its arguments, one per line, then "--"
//   APLC2_STANDIN_EXIT  the exit status to end with when the script exists (default 0)
//   APLC2_STANDIN_SIZES a folder in which each call leaves a file of its own holding the size of
//                       the script it was handed, in bytes, so that calls at once lose nothing
//
// A missing script ends the call with status 1.

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/program_console.h"
#include "platform/program_main.h"

namespace aplpatch {

namespace {

// The whole content of the file at `path`, or nothing when it cannot be read.
std::optional<std::string> readWhole(Platform& platform, const std::string& path) {
  Opened<ReadFile> opened = platform.openForRead(path);
  if (!opened.status.ok()) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  for (std::size_t n; (n = opened.file->read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  if (!opened.file->status().ok()) return std::nullopt;
  return bytes;
}

void appendToLog(Platform& platform, const std::vector<std::string>& arguments) {
  const char* path = std::getenv("APLC2_STANDIN_LOG");
  if (path == nullptr || *path == '\0') return;
  std::string log = readWhole(platform, path).value_or("");
  for (const std::string& argument : arguments) log += argument + "\n";
  log += "--\n";
  Opened<WriteFile> out = platform.createForWrite(path);
  if (!out.status.ok()) return;
  out.file->write(log.data(), log.size());
  out.file->close();
}

void recordSize(Platform& platform, std::size_t size) {
  const char* folder = std::getenv("APLC2_STANDIN_SIZES");
  if (folder == nullptr || *folder == '\0') return;
  CreatedTemporary out = platform.createTemporaryBeside(std::string(folder) + "/size", 0644);
  if (!out.status.ok()) return;
  std::string text = std::to_string(size);
  out.file->write(text.data(), text.size());
  out.file->close();
}

}  // namespace

int programMain(const std::vector<std::string>& arguments) {
  std::unique_ptr<Platform> platform = makeSystemPlatform();
  std::unique_ptr<ProgramConsole> console = makeSystemConsole();
  console->print("aplc2.exe stand-in: not the adventure compiler, compiles nothing\n");
  std::string shown = "arguments:";
  for (const std::string& argument : arguments) shown += " [" + argument + "]";
  console->print(shown + "\n");
  appendToLog(*platform, arguments);

  std::optional<std::string> script;
  if (arguments.size() == 2) script = readWhole(*platform, arguments[1]);
  if (!script) {
    console->print("script not found: " + (arguments.size() == 2 ? arguments[1] : "(none given)") + "\n");
    return 1;
  }
  recordSize(*platform, script->size());
  console->print("script " + arguments[1] + ": " + std::to_string(script->size()) + " bytes\n");

  const char* status = std::getenv("APLC2_STANDIN_EXIT");
  return status != nullptr ? std::atoi(status) : 0;
}

}  // namespace aplpatch
