#include "driver/patch_paths.h"

#include "platform/file_name_fit.h"

namespace aplpatch {

namespace {

// Whether `path` starts with a drive letter and its colon where the style takes the colon for the
// end of a prefix.
bool isDriveRelative(std::string_view path, const PathStyle& style) {
  if (style.nameSeparators.find(':') == std::string_view::npos || path.size() < 2 || path[1] != ':') return false;
  char drive = path[0];
  return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
}

}  // namespace

PatchPaths derivePatchPaths(std::string_view script, const PathStyle& style, std::string_view file) {
  if (file.empty()) file = script;
  PatchPaths paths;
  paths.script = script;
  paths.file = file;
  paths.newScriptInMessages = paths.script + ".new";

  std::size_t lastSlash = file.find_last_of("\\/");
  if (lastSlash != std::string_view::npos)
    paths.dirPrefix = file.substr(0, lastSlash + 1);
  else if (isDriveRelative(file, style))
    // "Z:F.APL" is F.APL in the working folder of drive Z, and so is "Z:apl".
    paths.dirPrefix = file.substr(0, 2);

  paths.backupFolder = paths.dirPrefix + "apl";
  std::string inBackup = paths.backupFolder + style.separator;
  std::string_view name = fileNameOf(file, style);
  paths.backupScript = inBackup;
  paths.backupScript += name;
  // The script's name fits the file system; with a suffix it may not, and is shortened.
  paths.backupNewScript = inBackup + fittedName(name, ".new");
  paths.log = inBackup + fittedName(name, ".log");
  return paths;
}

}  // namespace aplpatch
