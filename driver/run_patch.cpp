#include "driver/run_patch.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
                 TemporaryFile& newScript) {
  platform.print("inserting missing RETURNS ...\n");
  Status created = newScript.create();
  if (!created.ok()) {
    abortRun(platform, "Cannot create " + paths.newScript, created, paths, newScript);
    return false;
  }

  bool written = rewriteScript(*input, newScript.sink(), platform);
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
  backUpScript(platform, paths);

  Opened<ReadFile> input = platform.openForRead(paths.script);
  if (!input.status.ok()) {
    platform.print("Program aborted. For use with TALKRADAR only.\n");
    return kFailed;
  }

  TemporaryFile newScript(platform, paths.newScript);
  if (!rewriteInto(platform, paths, std::move(input.file), newScript)) return kFailed;
  platform.print("analysis done\n");

  say(platform, {"saving new generated APL file ", paths.newScript, " ..."});
  Status copied = platform.copyFile(paths.newScript, paths.backupNewScript);
  if (!copied.ok())
    reportBackupFailure(platform, "cannot copy " + paths.newScript + " to " + paths.backupNewScript, copied);

  Status replaced = newScript.commitAs(paths.script);
  if (!replaced.ok())
    return abortRun(platform, "Cannot replace " + paths.script + " with " + paths.newScript, replaced, paths,
                    newScript);

  return runCompiler(platform, arguments[1]);
}

}  // namespace aplpatch
