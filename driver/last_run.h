#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "driver/patch_paths.h"
#include "driver/run_log.h"
#include "platform/platform.h"
#include "platform/program_console.h"

namespace aplpatch {

// What the user's last run came to, kept in the user's own state folder for aplpatch --status.
struct LastRun {
  std::string when;     // the local time the run started
  std::string script;   // the script, its full path
  std::string outcome;  // "rewritten, compiler exit status 0"
  std::string keys;     // the keys the rewrite bound, in short; empty when nothing was rewritten
  std::string log;      // the run's log, its full path; empty when the run wrote none
};

// Where the last run is kept: last-run.txt in the folder aplpatch of the user's state folder.
// Empty when the system does not say where that is.
std::string lastRunPath(Platform& platform);

// The record as it is kept, one "name: value" line each, and read back; a text that is not one
// (cut short, or another file) reads as nothing.
std::string lastRunText(const LastRun& run);
std::optional<LastRun> parseLastRun(std::string_view text);

// Keeps `run` as the user's last run, in full or not at all (its folder is made). A user without a
// state folder keeps none.
Status recordLastRun(Platform& platform, const LastRun& run);

// The user's last run; nothing when none is kept. A record that cannot be read is a failure.
struct LastRunReading {
  Status status = Status::success();
  std::optional<LastRun> run;
};
LastRunReading readLastRun(Platform& platform);

// What a run does last, after the compiler and its log: keeps itself as the user's last run, and,
// when it rewrote the flight, puts its keys and the log's path on standard error ("Keys: X descent
// request, M missed approach. Log: apl\F.APL.log"), where the host's reading of standard output
// never meets it. Whatever fails here is said on standard error and ends no flight.
void reportLastRun(Platform& platform, ProgramConsole& console, const std::string& startedAt,
                   const std::string& script, const PatchPaths& paths, const RunRecord& record);

}  // namespace aplpatch
