#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/console.h"
#include "driver/patch_paths.h"
#include "platform/platform.h"

namespace aplpatch {

// What a run came to, as its log states it.
struct RunRecord {
  std::string outcome = "aborted";  // "rewritten", "already patched" or "aborted: " and why
  std::string compiler = "not run";  // "exit status 3", "not run" or "could not be started: " and why
  // The twin of the script that the run worked on in its stead, and why; empty for the script itself.
  std::string fileWorkedOn;
  // Whether the script could be opened. A script that could not be leaves nothing behind, not even
  // a log: the path may not name a pilot's folder at all.
  bool scriptOpened = false;
  // Written at the start of the run, from the settings it reads: the log's line on them.
  std::string settingsLine;
  // Written once the rewrite has taken the script's place: the flight's briefing (LF lines).
  std::string briefing;
  // Written with the briefing: its keys in short ("X descent request, M missed approach").
  std::string keys;
  // Written once the rewrite is complete, shown in the log with the briefing: the faults the rewrite
  // brings into the structure of the generated script, one a line; empty when it brings none.
  std::optional<std::vector<std::string>> structureFaults;
};

// The log of one run: when it ran, its command line (the arguments after the program name), the
// twin it worked on if any, every console line it printed, its outcome and the compiler's result;
// then the settings it went by, the flight's briefing (or why there is none) and, for a rewritten
// script, what the rewrite adds to its structure. Lines end with CR LF, as the scripts beside it do.
std::string runLogText(std::string_view startedAt, const std::vector<std::string>& arguments,
                       std::string_view console, const RunRecord& record);

// Writes `text` as the log in the backup folder, in full or not at all, replacing the last run's.
// A failure is reported on the console and changes nothing else.
void writeRunLog(Platform& platform, Console& console, const PatchPaths& paths, std::string_view text);

}  // namespace aplpatch
