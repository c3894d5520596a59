#include "driver/run_log.h"

#include "driver/command_line.h"
#include "driver/commands.h"
#include "driver/temporary_file.h"

namespace aplpatch {

namespace {

void addLine(std::string& text, std::string_view line) {
  text += line;
  text += "\r\n";
}

}  // namespace

std::string runLogText(std::string_view startedAt, const std::vector<std::string>& arguments,
                       std::string_view console, const RunRecord& record) {
  std::string text;
  addLine(text, std::string(programNameAndVersion()) + ", run of " + std::string(startedAt));
  std::string commandLine = "command line:";
  for (const std::string& argument : arguments) commandLine += " " + quoteArgument(argument);
  addLine(text, commandLine);
  addLine(text, "console:");
  while (!console.empty()) {
    std::size_t end = console.find('\n');
    addLine(text, "  " + std::string(console.substr(0, end)));
    console = end == std::string_view::npos ? std::string_view() : console.substr(end + 1);
  }
  addLine(text, "outcome: " + record.outcome);
  addLine(text, "compiler: " + record.compiler);
  return text;
}

void writeRunLog(Platform& platform, const PatchPaths& paths, std::string_view text) {
  // The folder is there after any backup; a run that made none still gets its log.
  Status status = platform.makeFolder(paths.backupFolder);
  TemporaryFile log(platform, paths.log);
  if (status.ok()) status = log.create();
  if (status.ok()) {
    log.sink().write(text.data(), text.size());
    status = log.finish();
  }
  if (status.ok()) status = log.commitAs(paths.log);
  if (!status.ok()) platform.print("Cannot write the log " + paths.log + ": " + status.reason() + "\n");
}

}  // namespace aplpatch
