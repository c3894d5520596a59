#include "rules/descent/altitude_check.h"

#include "engine/line_text.h"

namespace aplpatch {

void followAltitudeCheckCall(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kAltitudeCheckCall)) return;
  RewriteState& state = pass.state();
  if (state.radialCheckWatch == RadialCheckWatch::armed) {
    state.radialCheckWatch = RadialCheckWatch::done;
  }
  ++state.added.altitudeChecks;
  pass.write(line);
  pass.write("IF VSQUAWKCNG = 1 THEN\n"
             "  GOSUB TEST_XPNDR_EXT\n"
             "ENDIF\n");
  line.assign("VTIMER = ELAPSED_TIME\n");
  // Inside the ground-distance loop: its altitude check has been met.
  if (state.groundDistanceLoop == GroundDistanceLoop::inside) {
    state.groundDistanceLoop = GroundDistanceLoop::altitudeChecked;
  }
}

void writeAltitudeCheckBody(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kAltitudeCheckLabel)) return;
  pass.write(line);
  pass.write(" GOSUB COMPUTE_VELOCITY_Y\n"
             " IF (PLANE_ALT > VALT + 400) AND (VEL_Y > - 300) THEN\n"
             "   GOSUB PLAYCALL\n"
             "   GOSUB PLAY_ALTITUDE\n"
             " ELSEIF (PLANE_ALT < VALT - 400) AND (VEL_Y < 300) THEN\n"
             "   GOSUB PLAYCALL\n"
             "   GOSUB PLAY_ALTITUDE\n"
             " ENDIF\n");
  line.assign("RETURN\n");
}

void addAltitudeCheckToRadialCheck(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.radialCheckWatch != RadialCheckWatch::armed) return;
  const std::string& line = pass.line();
  if (contains(line, kRadialCheckCall)) {
    pass.write("GOSUB CHECK_ALTITUDE\n");
    state.radialCheckWatch = RadialCheckWatch::done;
    ++state.added.altitudeChecks;
  } else if (contains(line, kAltitudeCheckName) || contains(line, kRadialWatchLoopEnd)) {
    state.radialCheckWatch = RadialCheckWatch::done;
  }
}

}  // namespace aplpatch
