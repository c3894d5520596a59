#include "commands/install.h"

#include <algorithm>

#include "driver/compiler_name.h"
#include "platform/byte_copy.h"
#include "platform/path_style.h"
#include "platform/temporary_file.h"

namespace aplpatch {

namespace {

constexpr int kNotDone = 1;

// The real compiler's name in the folder of `compiler`.
std::string originalPath(Platform& platform, const std::string& compiler) {
  std::string_view name = fileNameOf(compiler, platform.pathStyle());
  return compiler.substr(0, compiler.size() - name.size()) + std::string(kCompilerName);
}

int refuse(Console& console, std::string_view command, const std::string& why) {
  console.print("Cannot " + std::string(command) + ": " + why + ". Nothing was changed.\n");
  return kNotDone;
}

Status because(const std::string& what, const Status& status) {
  return Status::failure(status.code(), what + ": " + status.reason());
}

// Writes a copy of the file `from` to `to`, whole or not at all, with the permissions of `like`.
Status copyProgram(Platform& platform, const std::string& from, const std::string& to, const std::string& like) {
  Opened<ReadFile> source = platform.openForRead(from);
  if (!source.status.ok()) return because("cannot read " + from, source.status);
  TemporaryFile copy(platform, to);
  Status status = copy.create();
  if (!status.ok()) return because("cannot create " + to, status);
  copyAll(*source.file, copy.sink());
  if (!source.file->status().ok()) return because("cannot read " + from, source.file->status());
  status = copy.finish();
  if (status.ok()) status = platform.copyPermissions(like, copy.path());
  if (status.ok()) status = copy.commitAs(to);
  return status.ok() ? status : because("cannot write " + to, status);
}

}  // namespace

// A plain literal, which the search reads as well: the program's file holds it once, and the debug
// information, which keeps the values of named constants, has no copy of it.
std::string_view installMarker() { return "\x7f" "aplpatch installed copy 6d1f0a93c4b8e257" "\x7f"; }

MarkerSearch searchForMarker(Platform& platform, const std::string& path) {
  Opened<ReadFile> file = platform.openForRead(path);
  if (!file.status.ok()) return {file.status, false};
  const std::string_view marker = installMarker();
  // The last bytes of each chunk are kept, so that a marker across two reads is found.
  std::string window;
  char buffer[64 * 1024];
  for (std::size_t n; (n = file.file->read(buffer, sizeof buffer)) > 0;) {
    window.append(buffer, n);
    if (window.find(marker) != std::string::npos) return {Status::success(), true};
    window.erase(0, window.size() - std::min(window.size(), marker.size() - 1));
  }
  return {file.file->status(), false};
}

int installProgram(Platform& platform, ProgramConsole& console, const std::string& compiler) {
  constexpr std::string_view kCommand = "install";
  MarkerSearch search = searchForMarker(platform, compiler);
  if (!search.status.ok()) return refuse(console, kCommand, "cannot read " + compiler + ": " + search.status.reason());
  if (search.found) return refuse(console, kCommand, compiler + " is aplpatch already");
  const std::string original = originalPath(platform, compiler);
  if (platform.exists(original)) return refuse(console, kCommand, original + " exists already");
  const std::string self = platform.runningProgramPath();
  if (self.empty()) return refuse(console, kCommand, "the system does not say where this program's file is");

  Status moved = platform.moveFile(compiler, original);
  // Refused as above when the real compiler's name was taken meanwhile.
  if (moved.is(StatusCode::alreadyExists)) return refuse(console, kCommand, original + " exists already");
  if (!moved.ok())
    return refuse(console, kCommand, "cannot rename " + compiler + " to " + original + ": " + moved.reason());
  Status copied = copyProgram(platform, self, compiler, original);
  if (!copied.ok()) {
    Status back = platform.moveFile(original, compiler);
    if (back.ok()) return refuse(console, kCommand, copied.reason());
    console.print("Cannot install: " + copied.reason() + ". Cannot rename " + original + " back to " + compiler +
                  ": " + back.reason() + ". Rename it yourself.\n");
    return kNotDone;
  }
  console.print("Installed: " + compiler + " renamed to " + original + ", aplpatch copied to " + compiler +
                ".\n");
  return 0;
}

int uninstallProgram(Platform& platform, ProgramConsole& console, const std::string& compiler) {
  constexpr std::string_view kCommand = "uninstall";
  MarkerSearch search = searchForMarker(platform, compiler);
  if (!search.status.ok())
    return refuse(console, kCommand, "cannot read " + compiler + ": " + search.status.reason());
  if (!search.found) return refuse(console, kCommand, compiler + " is not aplpatch");
  const std::string original = originalPath(platform, compiler);
  if (!platform.exists(original)) return refuse(console, kCommand, original + " does not exist");

  Status replaced = platform.replaceFile(original, compiler);
  // Refused as above when the real compiler went missing meanwhile.
  if (replaced.is(StatusCode::notFound)) return refuse(console, kCommand, original + " does not exist");
  if (!replaced.ok())
    return refuse(console, kCommand,
                  "cannot put " + original + " in the place of " + compiler + ": " + replaced.reason());
  // Done whether or not the rename can be made sure of on the disk.
  platform.syncFolderOf(compiler);
  console.print("Uninstalled: aplpatch removed from " + compiler + ", " + original + " renamed back to " +
                compiler + ".\n");
  return 0;
}

}  // namespace aplpatch
