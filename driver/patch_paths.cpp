#include "driver/patch_paths.h"

namespace aplpatch {

PatchPaths derivePatchPaths(std::string_view script, const PathStyle& style, std::string_view file) {
  if (file.empty()) file = script;
  PatchPaths paths;
  paths.script = script;
  paths.file = file;
  paths.newScriptInMessages = paths.script + ".new";

  std::size_t lastSlash = file.find_last_of("\\/");
  if (lastSlash != std::string_view::npos) paths.dirPrefix = file.substr(0, lastSlash + 1);

  paths.backupFolder = paths.dirPrefix + "apl";
  std::string inBackup = paths.backupFolder + style.separator;
  paths.backupScript = inBackup;
  paths.backupScript += fileNameOf(file, style);
  paths.backupNewScript = paths.backupScript + ".new";
  paths.log = paths.backupScript + ".log";
  return paths;
}

}  // namespace aplpatch
