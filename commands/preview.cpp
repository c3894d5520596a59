#include "commands/preview.h"

#include <string>
#include <vector>

#include "structure/structure_check.h"
#include "driver/lost_labels.h"
#include "driver/run_rewrite.h"
#include "driver/script_preparation.h"
#include "platform/byte_copy.h"
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
  // What a run would work on, read as a run reads it; the preview stops where a run would write.
  PreparedScript prepared = prepareScript(platform, script);
  if (prepared.start == nullptr) {
    console.printError("Cannot open " + script + ": " + prepared.opened.reason() + "\n");
    return kPreviewFailed;
  }
  ScriptStart& start = *prepared.start;
  const LoadedSettings& settings = prepared.settings;
  ErrorConsole messages(console);
  for (const std::string& line : settingsConsoleLines(settings)) messages.print(line);
  bool written;
  std::string briefing;
  std::vector<LostLabel> lost;
  if (start.isAlreadyPatched()) {
    messages.print(script + " is already patched: a run hands it to the compiler unchanged.\n");
    written = copyAll(start, console.standardOutput());
  } else {
    StructureCheck check;
    RewriteReport report = rewriteForRun(start, console.standardOutput(), messages, settings.switches, &check);
    written = report.written;
    briefing = flightBriefing(report);
    lost = check.lostLabels();
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
  // The rewrite is shown as the rules make it; a run would not use it.
  if (!lost.empty()) messages.print(lostLabelsPreviewLine(lost, script));
  return 0;
}

}  // namespace aplpatch
