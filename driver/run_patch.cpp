#include "driver/run_patch.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/backup_copy.h"
#include "driver/ctrl_z_stop.h"
#include "driver/patch_paths.h"
#include "driver/temporary_file.h"
#include "rules/rewrite_script.h"

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
             TemporaryFile& newScript) {
  say(platform,
      {"Program aborted. ", what, ": ", status.reason(), ". ", paths.script, " is left as it was."});
  Status removed = newScript.discard();
  if (!removed.ok())
    say(platform, {"Cannot remove the unfinished ", newScript.path(), ": ", removed.reason(), "."});
  return kFailed;
}

// Opens the script and makes sure that it is a regular file, before anything is created. Returns
// null, after one line that names the file and the reason, when it cannot be used.
std::unique_ptr<ReadFile> openScript(Platform& platform, const PatchPaths& paths) {
  Opened<ReadFile> input = platform.openForRead(paths.script);
  if (!input.status.ok()) say(platform, {"Cannot open ", paths.script, ": ", input.status.reason(), "."});
  return std::move(input.file);
}

// Copies the script into the backup folder; a failure is reported and the run goes on. Returns
// whether the script could be set back to its start for the rewrite.
Status backUpScript(Platform& platform, const PatchPaths& paths, ReadFile& script) {
  Status made = platform.makeFolder(paths.backupFolder);
  if (!made.ok()) reportBackupFailure(platform, "cannot create folder " + paths.backupFolder, made);
  Status copied = writeBackup(platform, script, paths.backupScript, script.permissions());
  if (!copied.ok())
    reportBackupFailure(platform, "cannot copy " + paths.script + " to " + paths.backupScript, copied);
  return script.rewind();
}

void reportCtrlZ(Platform& platform, const StopAtCtrlZ& input) {
  if (!input.found() || input.bytesAfter() == 0) return;
  say(platform, {"Ctrl-Z after ", std::to_string(input.bytesBefore()), " bytes ends the script; the ",
                 std::to_string(input.bytesAfter()), " bytes after it are left out."});
}

// Rewrites the script into `newScript`, and into `backup` as far as that goes. Returns false, after
// reporting why and removing it, when the new script is not complete on the disk.
bool rewriteInto(Platform& platform, const PatchPaths& paths, std::unique_ptr<ReadFile> input,
                 TemporaryFile& newScript, TemporaryFile& backup, Status& backupStatus) {
  platform.print("inserting missing RETURNS ...\n");
  Status created = newScript.create(input->permissions());
  if (!created.ok()) {
    abortRun(platform, "Cannot create " + paths.newScript, created, paths, newScript);
    return false;
  }
  backupStatus = backup.create(input->permissions());

  StopAtCtrlZ script(*input);
  CopyingSink output(newScript.sink(), backupStatus.ok() ? &backup.sink() : nullptr);
  bool written = rewriteScript(script, output, platform);
  Status read = input->status();
  input.reset();
  Status finished = newScript.finish();
  if (!written && finished.ok()) finished = Status::failure("the data could not all be written");

  if (!read.ok()) {
    abortRun(platform, "Cannot read " + paths.script, read, paths, newScript);
    return false;
  }
  if (!finished.ok()) {
    abortRun(platform, "Cannot write " + paths.newScript, finished, paths, newScript);
    return false;
  }
  if (backupStatus.ok()) backupStatus = backup.finish();
  reportCtrlZ(platform, script);
  return true;
}

int runCompiler(Platform& platform, const std::string& script) {
  platform.print("running original ADV generator...\n");
  // The compiler writes to the same console: everything of ours must be out before it starts.
  platform.flushConsole();
  ProgramRun run = platform.runProgram(kCompiler, {"-e", script});
  if (!run.status.ok()) {
    say(platform, {"Cannot run ", kCompiler, ": ", run.status.reason()});
    return kFailed;
  }
  if (run.signal != 0) {
    // The shell's way of telling a signal from an exit status.
    say(platform, {kCompiler, " ended by signal ", std::to_string(run.signal), " (", run.signalName, ")."});
    return 128 + run.signal;
  }
  return run.exitCode;
}

}  // namespace

int runPatch(Platform& platform, const std::vector<std::string>& arguments) {
  if (arguments.size() != 2 || arguments[0] != "-e") {
    platform.print("Program for only use with TALKRADAR.\n");
    return kFailed;
  }
  platform.print("TALKRADAR patch started...\n");
  const PatchPaths paths = derivePatchPaths(arguments[1], platform.pathStyle());

  say(platform, {"saving old generated APL file ", paths.script, " ..."});
  std::unique_ptr<ReadFile> input = openScript(platform, paths);
  if (input == nullptr) {
    platform.print("Program aborted. For use with TALKRADAR only.\n");
    return kFailed;
  }

  TemporaryFile newScript(platform, paths.script);
  Status rewound = backUpScript(platform, paths, *input);
  if (!rewound.ok()) return abortRun(platform, "Cannot read " + paths.script, rewound, paths, newScript);

  // The copy of the rewrite for the backup folder is written alongside and kept only once the
  // rewrite has taken the script's place.
  TemporaryFile backup(platform, paths.backupNewScript);
  Status backupStatus = Status::success();
  if (!rewriteInto(platform, paths, std::move(input), newScript, backup, backupStatus)) return kFailed;
  platform.print("analysis done\n");

  say(platform, {"saving new generated APL file ", paths.newScript, " ..."});
  Status replaced = newScript.commitAs(paths.script);
  if (!replaced.ok())
    return abortRun(platform, "Cannot replace " + paths.script + " with " + paths.newScript, replaced, paths,
                    newScript);

  if (backupStatus.ok()) backupStatus = backup.commitAs(paths.backupNewScript);
  if (!backupStatus.ok())
    reportBackupFailure(platform, "cannot copy " + paths.newScript + " to " + paths.backupNewScript,
                        backupStatus);

  return runCompiler(platform, arguments[1]);
}

}  // namespace aplpatch
