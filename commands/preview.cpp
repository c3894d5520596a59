#include "commands/preview.h"

#include <memory>
#include <utility>

#include "driver/run_rewrite.h"
#include "driver/script_start.h"
#include "driver/settings_file.h"
#include "platform/byte_copy.h"
#include "platform/virtual_store.h"
#include "rules/briefing.h"

namespace aplpatch {

namespace {

constexpr int kPreviewFailed = 1;

// The rules' messages, sent to standard error so that standard output holds only the script.
class ErrorConsole : public Console {
 public:
  explicit ErrorConsole(ProgramConsole& console) : console_(console) {}
  void print(std::string_view text) override { console_.printError(text); }

 private:
  ProgramConsole& console_;
};

}  // namespace

int previewScript(Platform& platform, ProgramConsole& console, const std::string& script) {
  // What a run would work on: the script, or the twin Windows keeps of it.
  Opened<ReadFile> opened = platform.openForRead(scriptFileToWorkOn(platform, script).path);
  if (!opened.status.ok()) {
    console.printError("Cannot open " + script + ": " + opened.status.reason() + "\n");
    return kPreviewFailed;
  }
  ScriptStart start(std::move(opened.file));
  ErrorConsole messages(console);
  const LoadedSettings settings = loadSettings(platform);
  for (const std::string& line : settingsConsoleLines(settings)) messages.print(line);
  bool written;
  std::string briefing;
  if (start.isAlreadyPatched()) {
    messages.print(script + " is already patched: a run hands it to the compiler unchanged.\n");
    written = copyAll(start, console.standardOutput());
  } else {
    RewriteReport report = rewriteForRun(start, console.standardOutput(), messages, settings.switches);
    written = report.written;
    briefing = flightBriefing(report);
  }
  if (!start.status().ok()) {
    console.printError("Cannot read " + script + ": " + start.status().reason() + "\n");
    return kPreviewFailed;
  }
  if (!written) {
    console.printError("Cannot write the preview to standard output.\n");
    return kPreviewFailed;
  }
  if (!briefing.empty()) messages.print(briefing);
  return 0;
}

}  // namespace aplpatch
