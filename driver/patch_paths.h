#pragma once

#include <string>
#include <string_view>

#include "platform/path_style.h"

namespace aplpatch {

// The files one run works on, all derived from the script path exactly as the host passed it.
struct PatchPaths {
  std::string script;  // unchanged
  // script + ".new": the name by which the console messages call the rewrite, as the host has always
  // shown it. Nothing is written under it: the rewrite goes to a temporary of its own.
  std::string newScriptInMessages;
  std::string dirPrefix;        // the script path up to and including its last slash or backslash, or empty
  std::string backupFolder;     // dirPrefix + "apl"
  std::string backupScript;     // the script's file name inside the backup folder
  std::string backupNewScript;  // the script's file name + ".new" inside the backup folder
  std::string log;              // the script's file name + ".log" inside the backup folder
};

// Both slashes end the directory prefix on every platform, so that the backup folder lies beside the
// script however its path is written; the file name honours every separator of `style`.
PatchPaths derivePatchPaths(std::string_view script, const PathStyle& style);

}  // namespace aplpatch
