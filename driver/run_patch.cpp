#include "driver/run_patch.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/commands.h"
#include "driver/console_recorder.h"
#include "driver/patch_paths.h"
#include "driver/program_search.h"
#include "driver/run_log.h"
#include "driver/run_rewrite.h"
#include "driver/script_start.h"
#include "driver/temporary_file.h"

namespace aplpatch {

namespace {

constexpr int kFailed = -1;
constexpr const char* kCompiler = "aplc2.exe";

// Prints one line made of `parts`.
void say(Platform& platform, std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  text += '\n';
  platform.print(text);
}

void reportBackupFailure(Platform& platform, const std::string& what, const Status& status) {
  say(platform, {"backup failed: ", what, ": ", status.reason()});
}

// The end of a run that leaves the script as it was. The unfinished new script is removed at once,
// so that the message can tell when it could not be.
int abortRun(Platform& platform, std::string_view what, const Status& status, const PatchPaths& paths,
             TemporaryFile& newScript, RunRecord& record) {
  say(platform,
      {"Program aborted. ", what, ": ", status.reason(), ". ", paths.script, " is left as it was."});
  record.outcome = "aborted: " + std::string(what) + ": " + status.reason();
  Status removed = newScript.discard();
  if (!removed.ok())
    say(platform, {"Cannot remove the unfinished ", newScript.path(), ": ", removed.reason(), "."});
  return kFailed;
}

// Where the compiler is, found before anything is changed; nothing, after saying so, when it is
// nowhere to be found.
std::optional<std::string> locateCompiler(Platform& platform, const PatchPaths& paths, RunRecord& record) {
  std::optional<std::string> compiler = locateProgram(platform, kCompiler);
  if (!compiler) {
    say(platform, {"Cannot find ", kCompiler, " in the working folder, beside aplpatch or on PATH. ", paths.script,
                   " is left as it was."});
    record.outcome = "aborted: " + std::string(kCompiler) + " not found";
  }
  return compiler;
}

// Copies the script into the backup folder; a failure is reported and the run goes on.
void backUpScript(Platform& platform, const PatchPaths& paths) {
  Status made = platform.makeFolder(paths.backupFolder);
  if (!made.ok()) reportBackupFailure(platform, "cannot create folder " + paths.backupFolder, made);
  Status copied = platform.copyFile(paths.script, paths.backupScript);
  if (!copied.ok())
    reportBackupFailure(platform, "cannot copy " + paths.script + " to " + paths.backupScript, copied);
}

// Rewrites the script into `newScript`. Returns false, after reporting why and removing it, when the
// new script is not complete on the disk.
bool rewriteInto(Platform& platform, const PatchPaths& paths, std::unique_ptr<ReadFile> input,
                 TemporaryFile& newScript, RunRecord& record) {
  platform.print("inserting missing RETURNS ...\n");
  Status created = newScript.create();
  if (!created.ok()) {
    abortRun(platform, "Cannot create " + paths.newScript, created, paths, newScript, record);
    return false;
  }

  bool written = rewriteForRun(*input, newScript.sink(), platform);
  Status read = input->status();
  input.reset();
  Status finished = newScript.finish();
  if (!written && finished.ok()) finished = Status::failure("the data could not all be written");

  if (!read.ok()) {
    abortRun(platform, "Cannot read " + paths.script, read, paths, newScript, record);
    return false;
  }
  if (!finished.ok()) {
    abortRun(platform, "Cannot write " + paths.newScript, finished, paths, newScript, record);
    return false;
  }
  return true;
}

int runCompiler(Platform& platform, const std::string& compiler, const std::string& script, RunRecord& record) {
  platform.print("running original ADV generator...\n");
  // The compiler writes to the same console: everything of ours must be out before it starts.
  platform.flushConsole();
  ProgramRun run = platform.runProgram(compiler, {"-e", script});
  if (!run.status.ok()) {
    say(platform, {"Cannot run ", compiler, ": ", run.status.reason()});
    record.compiler = "could not be started: " + run.status.reason();
    return kFailed;
  }
  record.compiler = "exit status " + std::to_string(run.exitCode);
  return run.exitCode;
}

// A script that a run has patched already goes to the compiler as it is, its backups untouched.
int handOnUnchanged(Platform& platform, const PatchPaths& paths, const std::string& compiler,
                    std::unique_ptr<ReadFile> input, RunRecord& record) {
  input.reset();
  say(platform, {paths.script, " is already patched: handed to the compiler unchanged."});
  record.outcome = "already patched";
  return runCompiler(platform, compiler, paths.script, record);
}

int patchScript(Platform& platform, const PatchPaths& paths, RunRecord& record) {
  platform.print("TALKRADAR patch started...\n");
  say(platform, {"saving old generated APL file ", paths.script, " ..."});

  Opened<ReadFile> opened = platform.openForRead(paths.script);
  if (!opened.status.ok()) {
    platform.print("Program aborted. For use with TALKRADAR only.\n");
    record.outcome = "aborted: cannot open " + paths.script + ": " + opened.status.reason();
    return kFailed;
  }

  std::optional<std::string> compiler = locateCompiler(platform, paths, record);
  if (!compiler) return kFailed;
  auto input = std::make_unique<ScriptStart>(std::move(opened.file));
  if (input->isAlreadyPatched()) return handOnUnchanged(platform, paths, *compiler, std::move(input), record);
  backUpScript(platform, paths);

  TemporaryFile newScript(platform, paths.newScript);
  if (!rewriteInto(platform, paths, std::move(input), newScript, record)) return kFailed;
  platform.print("analysis done\n");

  say(platform, {"saving new generated APL file ", paths.newScript, " ..."});
  Status copied = platform.copyFile(paths.newScript, paths.backupNewScript);
  if (!copied.ok())
    reportBackupFailure(platform, "cannot copy " + paths.newScript + " to " + paths.backupNewScript, copied);

  Status replaced = newScript.commitAs(paths.script);
  if (!replaced.ok())
    return abortRun(platform, "Cannot replace " + paths.script + " with " + paths.newScript, replaced, paths,
                    newScript, record);

  record.outcome = "rewritten";
  return runCompiler(platform, *compiler, paths.script, record);
}

}  // namespace

int runPatch(Platform& platform, const std::vector<std::string>& arguments) {
  if (std::optional<int> status = runOtherCommand(platform, arguments)) return *status;
  if (arguments.size() != 2 || arguments[0] != "-e") {
    platform.print("Program for only use with TALKRADAR.\n");
    return kFailed;
  }
  const PatchPaths paths = derivePatchPaths(arguments[1], platform.pathStyle());
  const std::string startedAt = platform.localTime();

  // Every console line of the run goes into its log as well.
  ConsoleRecorder recorder(platform);
  RunRecord record;
  int status = patchScript(recorder, paths, record);
  writeRunLog(platform, paths, runLogText(startedAt, arguments, recorder.printed(), record));
  return status;
}

}  // namespace aplpatch
