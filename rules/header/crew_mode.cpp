#include "rules/header/crew_mode.h"

#include <array>
#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

constexpr bool everyNameHoldsAKey() {
  for (std::string_view name : kBriefingSoundNames) {
    bool keyed = false;
    for (std::string_view key : kBriefingSoundKeys) keyed = keyed || name.find(key) != name.npos;
    if (!keyed) return false;
  }
  return true;
}
static_assert(everyNameHoldsAKey(), "the briefing rule would not run on a line with that name");

bool namesBriefingSound(std::string_view text) {
  for (std::string_view name : kBriefingSoundNames) {
    if (contains(text, name)) return true;
  }
  return false;
}

}  // namespace

void dropWaitAfterBriefing(Pass& pass) {
  RewriteState& state = pass.state();
  if (!state.crewless || !state.skipNextWait) return;
  if (contains(pass.line(), "WAIT ")) pass.line().assign("\n");
  state.skipNextWait = false;
}

void dropBriefingCall(Pass& pass) {
  RewriteState& state = pass.state();
  if (!state.crewless) return;
  // The line itself stays as read until it is upper-cased; the sound names are matched in capitals.
  std::string& capitals = pass.scratch();
  capitals.assign(pass.line());
  upcaseAscii(capitals);
  if (contains(capitals, "PLAY") && namesBriefingSound(capitals)) {
    pass.line().assign("\n");
    state.skipNextWait = true;
  }
}

void emptyBriefingCheck(Pass& pass) {
  if (!pass.state().crewless || !contains(pass.line(), kBriefingCheckLabel)) return;
  pass.write(pass.line());
  pass.line().assign("RETURN\n");
}

void upcaseLine(Pass& pass) {
  std::string& line = pass.line();
  upcaseAscii(line);
  // This runs on every line: most are too short to hold both words (which may share one N).
  constexpr std::string_view kNoCrew = "NOCREW";
  constexpr std::string_view kDescription = "DESCRIPTION";
  if (line.size() >= kNoCrew.size() + kDescription.size() - 1 && contains(line, kNoCrew) &&
      contains(line, kDescription)) {
    pass.state().crewless = true;
    line.assign("\n");
  }
}

}  // namespace aplpatch
