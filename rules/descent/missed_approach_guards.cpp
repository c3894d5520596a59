#include "rules/descent/missed_approach_guards.h"

#include "engine/line_text.h"

namespace aplpatch {

namespace {

void writeLowAltitudeGuard(Pass& pass) {
  std::string& line = pass.line();
  pass.write(line);
  pass.write(
      " IF PLANE_ALT - GROUND_ALTITUDE < 750\n"
      "  GOTO MISSED_APP2\n");
  line.assign(" ENDIF\n");
  ++pass.state().added.forcedMissedApproachChecks;
}

}  // namespace

void guardTowerWaitFrequency(Pass& pass) {
  RewriteState& state = pass.state();
  const std::string& line = pass.line();
  if (contains(line, kTowerWaitLabel)) state.inAppTowerWait = true;
  if (contains(line, kFinalLabel)) {
    state.inAppTowerWait = false;
    return;
  }
  if (state.inAppTowerWait && contains(line, kTowerFrequencyWait)) {
    writeLowAltitudeGuard(pass);
  }
}

void guardTowerWaitContact(Pass& pass) {
  if (pass.state().inAppTowerWait && contains(pass.line(), kContactWait)) {
    writeLowAltitudeGuard(pass);
  }
}

}  // namespace aplpatch
