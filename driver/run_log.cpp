#include "driver/run_log.h"

#include <initializer_list>
#include <string_view>

#include "driver/program_version.h"
#include "platform/command_line.h"
#include "platform/file_name_fit.h"
#include "platform/temporary_file.h"

namespace aplpatch {

namespace {

// Appends one line made of `parts`.
void addLine(std::string& text, std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) text.append(part);
  text.append("\r\n");
}

// Appends each LF-ended line of `lines` after `indent`; a CR before the LF is left out.
void addLines(std::string& text, std::string_view indent, std::string_view lines) {
  while (!lines.empty()) {
    std::size_t end = lines.find('\n');
    std::string_view line = lines.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    addLine(text, {indent, line});
    lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
  }
}

}  // namespace

std::string runLogText(std::string_view startedAt, const std::vector<std::string>& arguments,
                       std::string_view console, const RunRecord& record) {
  std::string text;
  addLine(text, {programNameAndVersion(), ", run of ", startedAt});
  std::string commandLine = "command line:";
  for (const std::string& argument : arguments) commandLine.append(" ").append(quoteArgument(argument));
  addLine(text, {commandLine});
  if (!record.fileWorkedOn.empty()) addLine(text, {"file worked on: ", record.fileWorkedOn});
  addLine(text, {"console:"});
  addLines(text, "  ", console);
  addLine(text, {"outcome: ", record.outcome});
  addLine(text, {"compiler: ", record.compiler});
  for (const std::string& passed : record.compilersPassedOver) addLine(text, {"compiler passed over: ", passed});
  if (!record.compilerFile.empty()) addLine(text, {"compiler file: ", record.compilerFile});
  std::string stale = "stale temporaries removed: " + std::to_string(record.staleRemoved);
  if (record.staleKept > 0)
    stale += ", kept: " + std::to_string(record.staleKept) + " (in use or not known to be unused)";
  addLine(text, {stale});
  for (const std::string& line : record.lostLabels) addLine(text, {line});
  for (const RunRecord::Output& output : record.compilerOutput) {
    addLine(text, {output.heading});
    addLines(text, "  ", output.text);
  }
  if (!record.settingsLine.empty()) addLine(text, {record.settingsLine});
  if (record.briefing.empty()) {
    addLine(text, {"briefing: none, nothing was rewritten"});
    return text;
  }
  // The briefing's first line is its heading; the rest is indented under it, as the console is.
  std::string_view briefing = record.briefing;
  std::size_t headingEnd = briefing.find('\n');
  addLine(text, {briefing.substr(0, headingEnd)});
  if (headingEnd != std::string_view::npos) addLines(text, "  ", briefing.substr(headingEnd + 1));
  if (record.structureFaults) {
    addLine(text, {"what the rewrite adds to the structure of the script:"});
    if (record.structureFaults->empty()) addLine(text, {"  nothing"});
    for (const std::string& finding : *record.structureFaults) addLine(text, {"  ", finding});
    if (!record.structureAdvice.empty()) addLine(text, {"  ", record.structureAdvice});
  }
  return text;
}

std::string keptLogPath(const std::string& log, int age) {
  std::string path = log;
  if (path.ends_with(".log")) path.resize(path.size() - 4);
  // The generation's number makes the name longer than the log's: it is fitted again, as every name
  // a run makes.
  const std::size_t nameStart = path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1;
  const std::string name = path.substr(nameStart);
  path.resize(nameStart);
  return path + fittedName(name, "." + std::to_string(age) + ".log");
}

void keepEarlierLogs(Platform& platform, Console& console, const std::string& log) {
  // Oldest first, each renamed over the next older in one step: a log is never missing halfway,
  // and the oldest kept is replaced, so that no more than kKeptLogs remain.
  for (int age = kKeptLogs; age >= 1; --age) {
    const std::string from = age == 1 ? log : keptLogPath(log, age - 1);
    if (!platform.exists(from)) continue;
    const std::string to = keptLogPath(log, age);
    Status moved = platform.replaceFile(from, to);
    if (!moved.ok()) {
      console.print("Cannot keep the earlier log " + from + " as " + to + ": " + moved.reason() + "\n");
      return;
    }
  }
}

void writeRunLog(Platform& platform, Console& console, const PatchPaths& paths, std::string_view text) {
  // The folder is there after any backup; a run that made none still gets its log.
  Status status = platform.makeFolder(paths.backupFolder);
  if (status.ok()) keepEarlierLogs(platform, console, paths.log);
  TemporaryFile log(platform, paths.log);
  if (status.ok()) status = log.create();
  if (status.ok()) {
    log.sink().write(text.data(), text.size());
    status = log.finish();
  }
  if (status.ok()) status = log.commitAs(paths.log);
  if (!status.ok()) console.print("Cannot write the log " + paths.log + ": " + status.reason() + "\n");
}

}  // namespace aplpatch
