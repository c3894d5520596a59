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
  // "exit status 3", "not run" or "could not be started: " and why; a second run of the compiler,
  // on the script as generated, follows the first's after "; ".
  std::string compiler = "not run";
  // Written by the compiler search before anything is changed: the full path of the compiler found
  // (empty when none was), and the candidates passed over as no program, each "PATH: why".
  std::string compilerFile;
  std::vector<std::string> compilersPassedOver;
  // The twin of the script that the run worked on in its stead, and why; empty for the script itself.
  std::string fileWorkedOn;
  // Whether the script could be opened. A script that could not be leaves nothing behind, not even
  // a log: the path may not name a pilot's folder at all.
  bool scriptOpened = false;
  // Written by the cleanup at the start of the run: the temporaries of killed runs it removed, and
  // those it found but kept.
  int staleRemoved = 0;
  int staleKept = 0;
  // Written before the backup: the backup folder is a link, which the run does not follow, so no
  // file is written into it, the log included.
  bool backupFolderIsLink = false;
  // Written at the start of the run, from the settings it reads: the log's line on them.
  std::string settingsLine;
  // Written once the rewrite has taken the script's place: the flight's briefing (LF lines).
  std::string briefing;
  // Written with the briefing: its keys in short ("X descent request, M missed approach").
  std::string keys;
  // Written once the rewrite is complete, shown in the log with the briefing: the faults the rewrite
  // brings into the structure of the generated script, one a line; empty when it brings none.
  std::optional<std::vector<std::string>> structureFaults;
  // Written with the faults when there are any: what the pilot can do about them, one line.
  std::string structureAdvice;
  // Written when the rewrite lost labels of the generated script and was not put in place: which,
  // and where they went, one line each (without line ends).
  std::vector<std::string> lostLabels;
  // Written after each compiler run: a heading and the tail of each stream it wrote to, in order.
  struct Output {
    std::string heading;
    std::string text;
  };
  std::vector<Output> compilerOutput;
};

// The log of one run: when it ran, its command line (the arguments after the program name), the
// twin it worked on if any, every console line it printed, its outcome and the compiler's result;
// then the settings it went by, the flight's briefing (or why there is none) and, for a rewritten
// script, what the rewrite adds to its structure. Lines end with CR LF, as the scripts beside it do.
std::string runLogText(std::string_view startedAt, const std::vector<std::string>& arguments,
                       std::string_view console, const RunRecord& record);

// How many logs of earlier runs are kept beside the newest: NAME.1.log (the last run's) to NAME.5.log.
inline constexpr int kKeptLogs = 5;

// The path under which the log `age` runs before the newest is kept: `log` with ".log" replaced by
// ".1.log" and so on.
std::string keptLogPath(const std::string& log, int age);

// Writes `text` as the log in the backup folder, in full or not at all, after moving the earlier
// logs one place older (the oldest beyond kKeptLogs goes). A failure is reported on the console and
// changes nothing else: a log never fails a flight.
void writeRunLog(Platform& platform, Console& console, const PatchPaths& paths, std::string_view text);

}  // namespace aplpatch
