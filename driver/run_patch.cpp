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
#include "driver/finding_sources.h"
#include "driver/lost_labels.h"
#include "driver/last_run.h"
#include "driver/patch_paths.h"
#include "driver/program_search.h"
#include "driver/run_log.h"
#include "driver/run_rewrite.h"
#include "driver/script_preparation.h"
#include "driver/script_start.h"
#include "driver/settings_file.h"
#include "driver/stale_temporaries.h"
#include "platform/byte_copy.h"
#include "platform/output_tail.h"
#include "platform/temporary_file.h"
#include "rules/briefing.h"

namespace aplpatch {

namespace {

constexpr int kFailed = -1;

// Why nothing is written into a backup folder that is a link.
Status linkRefused() {
  return Status::failure("it is a link (symbolic link, junction or other reparse point), which is not followed");
}

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

// The end of a rewrite that cannot be put in place: the script stays as the host generated it. The
// unfinished new script is removed at once, so that the message can tell when it could not be.
void abandonRewrite(Console& console, std::string_view what, const Status& status, const PatchPaths& paths,
                    TemporaryFile& newScript, RunRecord& record) {
  say(console,
      {"Program aborted. ", what, ": ", status.reason(), ". ", paths.script, " is left as it was."});
  record.outcome = "as generated: " + std::string(what) + ": " + status.reason();
  Status removed = newScript.discard();
  if (!removed.ok())
    say(console, {"Cannot remove the unfinished ", newScript.path(), ": ", removed.reason(), "."});
}

// Says why the script could not be opened, before anything is created: first who holds it, when
// another program does, so that the pilot knows what to close.
void reportUnopenedScript(Platform& platform, Console& console, const PreparedScript& prepared, RunRecord& record) {
  const PatchPaths& paths = prepared.paths;
  const Status& opened = prepared.opened;
  if (prepared.heldByAnotherProgram) {
    std::string holders;
    for (const std::string& name : platform.programsHolding(paths.file))
      holders += (holders.empty() ? "" : ", ") + name;
    if (!holders.empty()) holders = " (" + holders + ")";
    say(console, {paths.script, " is held by another program", holders, "; waited 2 seconds for it."});
  }
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
  ProgramSearch search = findProgram(platform, kCompilerName);
  record.compilersPassedOver = search.passedOver;
  if (!search.found) {
    say(console, {"Cannot find ", kCompilerName, " beside aplpatch, in the working folder or on PATH. ",
                  paths.script, " is left as it was."});
    record.outcome = "aborted: " + std::string(kCompilerName) + " not found";
    return std::nullopt;
  }
  record.compilerFile = search.foundFullPath;
  return search.found;
}

// Copies the script into the backup folder; a failure is reported and the run goes on. Returns
// whether the script could be set back to its start for the rewrite. `backedUp` says whether this
// run's backup of the script is in place; `patched` is set when the copy found the script patched
// after all (it changed since it was looked at), and then no backup is made.
Status backUpScript(Platform& platform, Console& console, const PatchPaths& paths, ReadFile& script,
                    bool& backedUp, bool& patched) {
  Status made = platform.makeFolder(paths.backupFolder);
  if (!made.ok()) reportBackupFailure(console, "cannot create folder " + paths.backupFolder, made);
  Status copied = writeBackup(platform, script, paths.backupScript, script.permissions(), &patched);
  backedUp = copied.ok();
  if (!copied.ok() && !patched)
    reportBackupFailure(console, "cannot copy " + paths.script + " to " + paths.backupScript, copied);
  return script.rewind();
}

// Rewrites the script into `newScript` with the features `settings` leaves on, and into `backup` as
// far as that goes, and records what the rewrite adds to the script's structure (with the features
// behind it) and which of its labels it lost. Returns nothing, after reporting why and removing it,
// when the new script is not complete on the disk.
std::optional<RewriteReport> rewriteInto(Console& console, const PatchPaths& paths, std::unique_ptr<ReadFile> input,
                                         const LoadedSettings& settings, TemporaryFile& newScript,
                                         TemporaryFile& backup, Status& backupStatus, std::vector<LostLabel>& lost,
                                         RunRecord& record) {
  console.print("inserting missing RETURNS ...\n");
  Status created = newScript.create(input->permissions());
  if (!created.ok()) {
    abandonRewrite(console, "Cannot create " + paths.newScriptInMessages, created, paths, newScript, record);
    return std::nullopt;
  }
  if (backupStatus.ok()) backupStatus = backup.create(input->permissions());

  CopyingSink output(newScript.sink(), backupStatus.ok() ? &backup.sink() : nullptr);
  StructureCheck structure;
  RewriteReport report = rewriteForRun(*input, output, console, settings.switches, &structure);
  const bool written = report.written;
  Status read = input->status();
  input.reset();
  Status finished = newScript.finish();
  if (!written && finished.ok()) finished = Status::failure("the data could not all be written");

  if (!read.ok()) {
    abandonRewrite(console, "Cannot read " + paths.script, read, paths, newScript, record);
    return std::nullopt;
  }
  if (!finished.ok()) {
    abandonRewrite(console, "Cannot write " + paths.newScriptInMessages, finished, paths, newScript, record);
    return std::nullopt;
  }
  if (backupStatus.ok()) backupStatus = backup.finish();
  // Each finding names the feature behind it, and the advice names them all.
  std::vector<std::string> features;
  record.structureFaults = structure.faults([&](const StructureFinding& finding) {
    features.push_back(featureBehind(finding, report));
    return findingSource(features.back());
  });
  if (!features.empty()) record.structureAdvice = findingsAdvice(features, settings.path);
  lost = structure.lostLabels();
  return report;
}

// How one run of the compiler ended.
struct Compiled {
  int status = kFailed;  // the run's exit status as the host sees it
  bool started = false;  // the compiler could be started
  bool failed = false;   // it ran and ended with a status other than 0, or by a signal
  std::string ending;    // "exit status 3", "signal 11 (SIGSEGV)"
};

// Keeps what the compiler wrote, as far as the platform passed it back, for the log; `which` names
// the run when there are two.
void recordCompilerOutput(const ProgramRun& run, std::string_view which, RunRecord& record) {
  const std::pair<std::string_view, const std::string&> streams[] = {{"standard output", run.outputTail},
                                                                     {"standard error", run.errorTail}};
  for (const auto& [name, tail] : streams) {
    if (tail.empty()) continue;
    record.compilerOutput.push_back({std::string(kCompilerName) + " " + std::string(name) + std::string(which) +
                                         (tail.size() >= OutputTail::kKept ? " (its last 64 KiB):" : ":"),
                                     tail});
  }
}

// Runs the compiler once and writes its result into `record`: as the compiler's result, or with
// `asGenerated` after it, as the second run's on the script put back as generated.
Compiled compile(Platform& platform, ProgramConsole& console, const std::string& compiler,
                 const std::string& script, RunRecord& record, bool asGenerated = false) {
  console.print("running original ADV generator...\n");
  // The compiler writes to the same console: everything of ours must be out before it starts.
  console.flush();
  ProgramRun run = platform.runProgram(compiler, {"-e", script});
  std::string logged;
  Compiled compiled;
  if (!run.status.ok()) {
    say(console, {"Cannot run ", record.compilerFile, ": ", run.status.reason()});
    logged = "could not be started: " + run.status.reason();
  } else if (run.signal != 0) {
    // The shell's way of telling a signal from an exit status.
    say(console, {record.compilerFile, " ended by signal ", std::to_string(run.signal), " (", run.signalName, ")."});
    logged = "ended by signal " + std::to_string(run.signal) + " (" + run.signalName + ")";
    compiled = {128 + run.signal, true, true, "signal " + std::to_string(run.signal) + " (" + run.signalName + ")"};
  } else {
    logged = "exit status " + std::to_string(run.exitCode);
    compiled = {run.exitCode, true, run.exitCode != 0, logged};
  }
  if (asGenerated)
    record.compiler += "; as generated: " + logged;
  else
    record.compiler = logged;
  recordCompilerOutput(run, asGenerated ? ", as generated" : "", record);
  return compiled;
}

int runCompiler(Platform& platform, ProgramConsole& console, const std::string& compiler,
                const std::string& script, RunRecord& record) {
  return compile(platform, console, compiler, script, record).status;
}

// Puts this run's backup of the generated script in the script's place, safely as every replace.
// An unfinished copy that cannot be removed is reported.
Status putBackAsGenerated(Platform& platform, Console& console, const PatchPaths& paths) {
  Opened<ReadFile> generated = platform.openForRead(paths.backupScript);
  if (!generated.status.ok()) return generated.status;
  TemporaryFile copy(platform, paths.file);
  Status status = copy.create(generated.file->permissions());
  if (status.ok()) {
    copyAll(*generated.file, copy.sink());
    status = generated.file->status();
    Status finished = copy.finish();
    if (status.ok()) status = finished;
  }
  if (status.ok()) status = copy.commitAs(paths.file);
  if (!status.ok()) {
    Status removed = copy.discard();
    if (!removed.ok()) say(console, {"Cannot remove the unfinished ", copy.path(), ": ", removed.reason(), "."});
  }
  return status;
}

// Runs the compiler on the rewrite that took the script's place. When the compiler fails on it and
// the settings allow, the script as generated (this run's backup of it) is put back in its place,
// safely as every replace, and compiled once more: the exit status is then that second run's.
int compileRewrite(Platform& platform, ProgramConsole& console, const PatchPaths& paths,
                   const std::string& compiler, bool fallback, bool scriptBackedUp, RunRecord& record) {
  Compiled first = compile(platform, console, compiler, paths.script, record);
  if (!first.failed || !fallback) return first.status;
  if (!scriptBackedUp) {
    say(console, {record.compilerFile, " failed on the rewritten ", paths.script, " with ", first.ending,
                  "; without a backup of this run it cannot be compiled as generated."});
    return first.status;
  }
  Status restored = putBackAsGenerated(platform, console, paths);
  if (!restored.ok()) {
    say(console, {record.compilerFile, " failed on the rewritten ", paths.script, " with ", first.ending, "; cannot put ",
                  paths.script, " back as generated: ", restored.reason(), "."});
    return first.status;
  }
  say(console, {record.compilerFile, " failed on the rewritten ", paths.script, " with ", first.ending, ": ",
                paths.script, " is put back as generated and compiled again, without the additions."});
  record.outcome = "as generated: the compiler failed on the rewrite";
  // The flight the pilot gets has none of the rewrite's keys.
  record.keys.clear();
  Compiled second = compile(platform, console, compiler, paths.script, record, true);
  // A compiler that ran once and then cannot be started again: the status of the run it made.
  return second.started ? second.status : first.status;
}

// The end of a run whose rewrite did not take the script's place: the script, as the host
// generated it, goes to the compiler all the same, so that the flight is never lost to a fault of
// ours.
int compileAsGenerated(Platform& platform, ProgramConsole& console, const PatchPaths& paths,
                       const std::string& compiler, RunRecord& record) {
  say(console, {paths.script, " is compiled as generated, without the additions."});
  return runCompiler(platform, console, compiler, paths.script, record);
}

// A rewrite that lost labels of the generated script is not put in place: the script stays as the
// host generated it, and the rewrite goes only to the backup folder, for the pilot to look at.
void keepRewriteAside(Console& console, const PatchPaths& paths, const std::vector<LostLabel>& lost,
                      const RewriteReport& report, TemporaryFile& newScript, TemporaryFile& backup,
                      Status& backupStatus, RunRecord& record) {
  console.print(lostLabelsConsoleLine(lost, paths.script, paths.backupNewScript));
  record.outcome = "as generated: the rewrite lost " + std::to_string(lost.size()) +
                   (lost.size() == 1 ? " label" : " labels");
  record.lostLabels = lostLabelsLogLines(lost, report.readOns);
  Status removed = newScript.discard();
  if (!removed.ok())
    say(console, {"Cannot remove the unfinished ", newScript.path(), ": ", removed.reason(), "."});
  if (backupStatus.ok()) backupStatus = backup.commitAs(paths.backupNewScript);
  if (!backupStatus.ok() && !record.backupFolderIsLink)
    reportBackupFailure(console, "cannot copy " + paths.newScriptInMessages + " to " + paths.backupNewScript,
                        backupStatus);
}

// A script that a run has patched already goes to the compiler as it is, its backups untouched.
int handOnUnchanged(Platform& platform, ProgramConsole& console, const PatchPaths& paths,
                    const LoadedSettings& settings, const std::string& compiler, std::unique_ptr<ReadFile> input,
                    RunRecord& record) {
  input.reset();
  if (settings.switches.allOn() && settings.run == RunSwitches{})
    say(console, {paths.script, " is already patched: handed to the compiler unchanged."});
  else
    say(console, {paths.script, " is already patched: handed to the compiler unchanged; the settings apply to "
                                "flights generated from now on."});
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

  // Taken over here, so that the script is closed before the run's log is written.
  std::unique_ptr<ScriptStart> input = std::move(prepared.start);
  record.scriptOpened = input != nullptr;
  if (input == nullptr) {
    reportUnopenedScript(platform, console, prepared, record);
    console.print("Program aborted. For use with TALKRADAR only.\n");
    return kFailed;
  }

  std::optional<std::string> compiler = locateCompiler(platform, console, paths, record);
  if (!compiler) return kFailed;
  // Nothing is written through a link: it may lead to any folder, where a file of the same name
  // would be replaced.
  record.backupFolderIsLink = platform.isLink(paths.backupFolder);
  StaleCleanup cleanup = removeStaleTemporaries(platform, paths, !record.backupFolderIsLink);
  record.staleRemoved = cleanup.removed;
  record.staleKept = cleanup.kept;
  if (input->isAlreadyPatched())
    return handOnUnchanged(platform, console, paths, prepared.settings, *compiler, std::move(input), record);

  TemporaryFile newScript(platform, paths.file);
  // A script that could not be read through cannot be told from a patched one: the compiler gets
  // it as it is.
  if (!input->status().ok()) {
    abandonRewrite(console, "Cannot read " + paths.script, input->status(), paths, newScript, record);
    return compileAsGenerated(platform, console, paths, *compiler, record);
  }
  bool scriptBackedUp = false;
  bool patchedMeanwhile = false;
  Status rewound = record.backupFolderIsLink
                       ? Status::success()
                       : backUpScript(platform, console, paths, *input, scriptBackedUp, patchedMeanwhile);
  if (record.backupFolderIsLink) reportBackupFailure(console, "cannot use folder " + paths.backupFolder, linkRefused());
  if (patchedMeanwhile)
    return handOnUnchanged(platform, console, paths, prepared.settings, *compiler, std::move(input), record);
  if (!prepared.settings.run.patch) {
    input.reset();
    say(console, {"aplpatch is switched off in its settings file ", prepared.settings.path, ": ", paths.script,
                  " is compiled as generated."});
    record.outcome = "as generated: switched off in the settings file";
    return runCompiler(platform, console, *compiler, paths.script, record);
  }
  if (!rewound.ok()) {
    abandonRewrite(console, "Cannot read " + paths.script, rewound, paths, newScript, record);
    return compileAsGenerated(platform, console, paths, *compiler, record);
  }

  // The copy of the rewrite for the backup folder is written alongside and kept only once the
  // rewrite has taken the script's place.
  TemporaryFile backup(platform, paths.backupNewScript);
  Status backupStatus = record.backupFolderIsLink ? linkRefused() : Status::success();
  std::vector<LostLabel> lost;
  std::optional<RewriteReport> report =
      rewriteInto(console, paths, std::move(input), prepared.settings, newScript, backup, backupStatus, lost, record);
  if (!report) {
    backup.discard();
    return compileAsGenerated(platform, console, paths, *compiler, record);
  }
  console.print("analysis done\n");

  say(console, {"saving new generated APL file ", paths.newScriptInMessages, " ..."});
  if (!lost.empty()) {
    keepRewriteAside(console, paths, lost, *report, newScript, backup, backupStatus, record);
    return runCompiler(platform, console, *compiler, paths.script, record);
  }
  Status replaced = newScript.commitAs(paths.file);
  if (!replaced.ok()) {
    abandonRewrite(console, "Cannot replace " + paths.script + " with " + paths.newScriptInMessages, replaced, paths,
                   newScript, record);
    backup.discard();
    return compileAsGenerated(platform, console, paths, *compiler, record);
  }

  if (backupStatus.ok()) backupStatus = backup.commitAs(paths.backupNewScript);
  if (!backupStatus.ok() && !record.backupFolderIsLink)
    reportBackupFailure(console, "cannot copy " + paths.newScriptInMessages + " to " + paths.backupNewScript,
                       backupStatus);

  record.outcome = "rewritten";
  record.briefing = flightBriefing(*report);
  record.keys = keysSummary(report->added);
  return compileRewrite(platform, console, paths, *compiler, prepared.settings.run.fallback, scriptBackedUp, record);
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
  if (record.scriptOpened && !record.backupFolderIsLink)
    writeRunLog(platform, console, paths, runLogText(startedAt, arguments, recorder.printed(), record));
  reportLastRun(platform, console, startedAt, arguments[1], paths, record);
  return status;
}

}  // namespace aplpatch
