#pragma once

#include <string>
#include <string_view>

#include "platform/path_style.h"

namespace aplpatch {

// The files one run works on, derived from the script path exactly as the host passed it and from
// the file the run opens and replaces in its stead (the same path, or the twin Windows keeps of it).
struct PatchPaths {
  std::string script;  // unchanged: the name that the console messages and the compiler get
  std::string file;    // the file that is opened, backed up and replaced
  // script + ".new": the name by which the console messages call the rewrite, as the host has always
  // shown it. Nothing is written under it: the rewrite goes to a temporary of its own.
  std::string newScriptInMessages;
  std::string dirPrefix;        // `file` up to and including its last slash or backslash, or empty
  std::string backupFolder;     // dirPrefix + "apl"
  std::string backupScript;     // the file's name inside the backup folder
  // The file's name + ".new" and + ".log" inside the backup folder, the name shortened where the
  // whole would be too long for one name (platform/file_name_fit.h).
  std::string backupNewScript;
  std::string log;
};

// Both slashes end the directory prefix on every platform, so that the backup folder lies beside the
// file however its path is written; on Windows so does the colon of a drive-relative path
// ("Z:F.APL"), which the system resolves against that drive's own working folder. The file name
// honours every separator of `style`. Without
// `file`, the run works on `script` itself.
PatchPaths derivePatchPaths(std::string_view script, const PathStyle& style, std::string_view file = {});

}  // namespace aplpatch
