#include "driver/run_patch.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/backup_copy.h"
#include "driver/compiler_name.h"
#include "driver/console_recorder.h"
#include "driver/last_run.h"
#include "driver/patch_paths.h"
#include "driver/program_search.h"
#include "driver/run_log.h"
#include "driver/run_rewrite.h"
#include "driver/script_preparation.h"
#include "driver/script_start.h"
#include "driver/settings_file.h"
#include "platform/temporary_file.h"
#include "rules/briefing.h"

namespace aplpatch {

namespace {

constexpr int kFailed = -1;

// Prints one line made of `parts`.
void say(Console& console, std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  text += '\n';
  console.print(text);
}

void reportBackupFailure(Console& console, const std::string& what, const Status& status) {
  say(console, {"backup failed: ", what, ": ", status.reason()});
}

// The end of a run that leaves the script as it was. The unfinished new script is removed at once,
// so that the message can tell when it could not be.
int abortRun(Console& console, std::string_view what, const Status& status, const PatchPaths& paths,
             TemporaryFile& newScript, RunRecord& record) {
  say(console,
      {"Program aborted. ", what, ": ", status.reason(), ". ", paths.script, " is left as it was."});
  record.outcome = "aborted: " + std::string(what) + ": " + status.reason();
  Status removed = newScript.discard();
  if (!removed.ok())
    say(console, {"Cannot remove the unfinished ", newScript.path(), ": ", removed.reason(), "."});
  return kFailed;
}

// Says why the script could not be opened, before anything is created.
void reportUnopenedScript(Console& console, const PatchPaths& paths, const Status& opened, RunRecord& record) {
  say(console, {"Cannot open ", paths.script, ": ", opened.reason(), "."});
  record.outcome = "aborted: cannot open " + paths.script + ": " + opened.reason();
}

// Says what the settings read before anything was changed set, when there is a file.
void reportSettings(Console& console, const LoadedSettings& settings, RunRecord& record) {
  for (const std::string& line : settingsConsoleLines(settings)) console.print(line);
  record.settingsLine = settingsLogLine(settings);
}

// Where the compiler is, found before anything is changed; nothing, after saying so, when it is
// nowhere to be found.
std::optional<std::string> locateCompiler(Platform& platform, Console& console, const PatchPaths& paths,
                                          RunRecord& record) {
  std::optional<std::string> compiler = locateProgram(platform, kCompilerName);
  if (!compiler) {
    say(console, {"Cannot find ", kCompilerName, " in the working folder, beside aplpatch or on PATH. ",
                  paths.script, " is left as it was."});
    record.outcome = "aborted: " + std::string(kCompilerName) + " not found";
  }
  return compiler;
}

// Copies the script into the backup folder; a failure is reported and the run goes on. Returns
// whether the script could be set back to its start for the rewrite.
Status backUpScript(Platform& platform, Console& console, const PatchPaths& paths, ReadFile& script) {
  Status made = platform.makeFolder(paths.backupFolder);
  if (!made.ok()) reportBackupFailure(console, "cannot create folder " + paths.backupFolder, made);
  Status copied = writeBackup(platform, script, paths.backupScript, script.permissions());
  if (!copied.ok())
    reportBackupFailure(console, "cannot copy " + paths.script + " to " + paths.backupScript, copied);
  return script.rewind();
}

// Rewrites the script into `newScript` with `switches`, and into `backup` as far as that goes, and
// records what the rewrite adds to the script's structure. Returns nothing, after reporting why and
// removing it, when the new script is not complete on the disk.
std::optional<RewriteReport> rewriteInto(Console& console, const PatchPaths& paths, std::unique_ptr<ReadFile> input,
                                         const FeatureSwitches& switches, TemporaryFile& newScript,
                                         TemporaryFile& backup, Status& backupStatus, RunRecord& record) {
  console.print("inserting missing RETURNS ...\n");
  Status created = newScript.create(input->permissions());
  if (!created.ok()) {
    abortRun(console, "Cannot create " + paths.newScriptInMessages, created, paths, newScript, record);
    return std::nullopt;
  }
  backupStatus = backup.create(input->permissions());

  CopyingSink output(newScript.sink(), backupStatus.ok() ? &backup.sink() : nullptr);
  StructureCheck structure;
  RewriteReport report = rewriteForRun(*input, output, console, switches, &structure);
  const bool written = report.written;
  Status read = input->status();
  input.reset();
  Status finished = newScript.finish();
  if (!written && finished.ok()) finished = Status::failure("the data could not all be written");

  if (!read.ok()) {
    abortRun(console, "Cannot read " + paths.script, read, paths, newScript, record);
    return std::nullopt;
  }
  if (!finished.ok()) {
    abortRun(console, "Cannot write " + paths.newScriptInMessages, finished, paths, newScript, record);
    return std::nullopt;
  }
  if (backupStatus.ok()) backupStatus = backup.finish();
  record.structureFaults = structure.faults();
  return report;
}

int runCompiler(Platform& platform, ProgramConsole& console, const std::string& compiler,
                const std::string& script, RunRecord& record) {
  console.print("running original ADV generator...\n");
  // The compiler writes to the same console: everything of ours must be out before it starts.
  console.flush();
  ProgramRun run = platform.runProgram(compiler, {"-e", script});
  if (!run.status.ok()) {
    say(console, {"Cannot run ", compiler, ": ", run.status.reason()});
    record.compiler = "could not be started: " + run.status.reason();
    return kFailed;
  }
  if (run.signal != 0) {
    // The shell's way of telling a signal from an exit status.
    say(console, {kCompilerName, " ended by signal ", std::to_string(run.signal), " (", run.signalName, ")."});
    record.compiler = "ended by signal " + std::to_string(run.signal) + " (" + run.signalName + ")";
    return 128 + run.signal;
  }
  record.compiler = "exit status " + std::to_string(run.exitCode);
  return run.exitCode;
}

// A script that a run has patched already goes to the compiler as it is, its backups untouched.
int handOnUnchanged(Platform& platform, ProgramConsole& console, const PatchPaths& paths,
                    const std::string& compiler, std::unique_ptr<ReadFile> input, RunRecord& record) {
  input.reset();
  say(console, {paths.script, " is already patched: handed to the compiler unchanged."});
  record.outcome = "already patched";
  return runCompiler(platform, console, compiler, paths.script, record);
}

int patchScript(Platform& platform, ProgramConsole& console, const std::string& script, PatchPaths& paths,
                RunRecord& record) {
  console.print("TALKRADAR patch started...\n");
  PreparedScript prepared = prepareScript(platform, script, [&](const PreparedScript& soFar) {
    reportSettings(console, soFar.settings, record);
    say(console, {"saving old generated APL file ", soFar.paths.script, " ..."});
  });
  paths = prepared.paths;
  if (!prepared.file.reason.empty()) record.fileWorkedOn = prepared.file.path + " (" + prepared.file.reason + ")";
  const FeatureSwitches& switches = prepared.settings.switches;

  // Taken over here, so that the script is closed before the run's log is written.
  std::unique_ptr<ScriptStart> input = std::move(prepared.start);
  record.scriptOpened = input != nullptr;
  if (input == nullptr) {
    reportUnopenedScript(console, paths, prepared.opened, record);
    console.print("Program aborted. For use with TALKRADAR only.\n");
    return kFailed;
  }

  std::optional<std::string> compiler = locateCompiler(platform, console, paths, record);
  if (!compiler) return kFailed;
  if (input->isAlreadyPatched())
    return handOnUnchanged(platform, console, paths, *compiler, std::move(input), record);

  TemporaryFile newScript(platform, paths.file);
  Status rewound = backUpScript(platform, console, paths, *input);
  if (!rewound.ok())
    return abortRun(console, "Cannot read " + paths.script, rewound, paths, newScript, record);

  // The copy of the rewrite for the backup folder is written alongside and kept only once the
  // rewrite has taken the script's place.
  TemporaryFile backup(platform, paths.backupNewScript);
  Status backupStatus = Status::success();
  std::optional<RewriteReport> report =
      rewriteInto(console, paths, std::move(input), switches, newScript, backup, backupStatus, record);
  if (!report) return kFailed;
  console.print("analysis done\n");

  say(console, {"saving new generated APL file ", paths.newScriptInMessages, " ..."});
  Status replaced = newScript.commitAs(paths.file);
  if (!replaced.ok())
    return abortRun(console, "Cannot replace " + paths.script + " with " + paths.newScriptInMessages, replaced,
                    paths, newScript, record);

  if (backupStatus.ok()) backupStatus = backup.commitAs(paths.backupNewScript);
  if (!backupStatus.ok())
    reportBackupFailure(console, "cannot copy " + paths.newScriptInMessages + " to " + paths.backupNewScript,
                       backupStatus);

  record.outcome = "rewritten";
  record.briefing = flightBriefing(*report);
  record.keys = keysSummary(report->added);
  return runCompiler(platform, console, *compiler, paths.script, record);
}

}  // namespace

bool isRunCommandLine(const std::vector<std::string>& arguments) {
  return arguments.size() == 2 && arguments[0] == "-e";
}

int refuseCommandLine(Console& console) {
  console.print("Program for only use with TALKRADAR.\n");
  return kFailed;
}

int runPatch(Platform& platform, ProgramConsole& console, const std::vector<std::string>& arguments) {
  if (!isRunCommandLine(arguments)) return refuseCommandLine(console);
  const std::string startedAt = platform.localTime();

  // Every console line of the run goes into its log as well. The console and the compiler get the
  // script as given, even when the run works on its twin.
  ConsoleRecorder recorder(console);
  RunRecord record;
  PatchPaths paths;
  int status = patchScript(platform, recorder, arguments[1], paths, record);
  if (record.scriptOpened)
    writeRunLog(platform, console, paths, runLogText(startedAt, arguments, recorder.printed(), record));
  reportLastRun(platform, console, startedAt, arguments[1], paths, record);
  return status;
}

}  // namespace aplpatch
