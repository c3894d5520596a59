#include "driver/last_run.h"

#include <array>
#include <cstddef>

#include "driver/settings_file.h"
#include "platform/folder_path.h"

namespace aplpatch {

namespace {

constexpr std::string_view kRecordName = "last-run.txt";
// A record is a few hundred bytes; anything much larger is not one.
constexpr std::size_t kLargestRecord = 64 * 1024;

struct Field {
  std::string_view name;
  std::string LastRun::*value;
};
constexpr std::array<Field, 5> kFields = {{
    {"when", &LastRun::when},
    {"script", &LastRun::script},
    {"outcome", &LastRun::outcome},
    {"keys", &LastRun::keys},
    {"log", &LastRun::log},
}};

// A value on one line: a path may hold a line end on POSIX systems.
std::string oneLine(std::string value) {
  for (char& c : value) {
    if (c == '\n' || c == '\r') c = '?';
  }
  return value;
}

}  // namespace

std::string lastRunPath(Platform& platform) {
  const std::string folder = platform.userStateFolder();
  if (folder.empty()) return {};
  return pathInFolder(platform, pathInFolder(platform, folder, std::string(kUserFolderName)),
                      std::string(kRecordName));
}

std::string lastRunText(const LastRun& run) {
  std::string text;
  for (const Field& field : kFields) text.append(field.name).append(": ").append(oneLine(run.*field.value)).append("\r\n");
  return text;
}

std::optional<LastRun> parseLastRun(std::string_view text) {
  LastRun run;
  for (const Field& field : kFields) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!line.starts_with(field.name) || line.substr(field.name.size(), 2) != ": ") return std::nullopt;
    run.*field.value = line.substr(field.name.size() + 2);
  }
  return run;
}

Status recordLastRun(Platform& platform, const LastRun& run) {
  const std::string path = lastRunPath(platform);
  if (path.empty()) return Status::success();
  return writeFileMakingFolders(platform, path, lastRunText(run), ExistingFile::replace);
}

LastRunReading readLastRun(Platform& platform) {
  const std::string path = lastRunPath(platform);
  if (path.empty() || !platform.exists(path)) return {};
  Opened<ReadFile> opened = platform.openForRead(path);
  if (!opened.status.ok()) return {opened.status, std::nullopt};
  std::string text;
  char buffer[4096];
  for (std::size_t n; text.size() <= kLargestRecord && (n = opened.file->read(buffer, sizeof buffer)) > 0;)
    text.append(buffer, n);
  if (!opened.file->status().ok()) return {opened.file->status(), std::nullopt};
  std::optional<LastRun> run = parseLastRun(text);
  if (!run) return {Status::failure("it is not a record of a run"), std::nullopt};
  return {Status::success(), run};
}

void reportLastRun(Platform& platform, ProgramConsole& console, const std::string& startedAt,
                   const std::string& script, const PatchPaths& paths, const RunRecord& record) {
  const bool rewritten = !record.keys.empty();
  // No log is written through a link named like the backup folder: none is named then.
  const bool logWritten = record.scriptOpened && !record.backupFolderIsLink;
  if (rewritten)
    console.printError("Keys: " + record.keys + (logWritten ? ". Log: " + paths.log : std::string(".")) + "\n");
  LastRun run;
  run.when = startedAt;
  run.script = platform.fullPath(script);
  run.outcome = record.outcome + ", compiler " + record.compiler;
  run.keys = record.keys;
  if (logWritten) run.log = platform.fullPath(paths.log);
  Status recorded = recordLastRun(platform, run);
  if (!recorded.ok()) console.printError("Cannot keep this run for --status: " + recorded.reason() + "\n");
}

}  // namespace aplpatch
