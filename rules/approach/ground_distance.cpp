#include "rules/approach/ground_distance.h"

#include "engine/line_text.h"

namespace aplpatch {

void reworkGroundDistanceLoopBody(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.groundDistanceLoop == GroundDistanceLoop::outside) return;
  std::string& line = pass.line();
  // The first "ENDWHILE" ends the loop, even one that closes a loop nested in it.
  if (contains(line, kGroundDistanceLoopEnd)) {
    state.groundDistanceLoop = GroundDistanceLoop::outside;
    return;
  }
  if (contains(line, kTimerRestart)) line.assign("\n");
  if (contains(line, kTimedBranch)) {
    pass.write(line);
    pass.write(" GOSUB SPEED_CHECK\n");
    line.assign(" VTIMER = ELAPSED_TIME\n");
  }
}

void openGroundDistanceLoop(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kGroundDistanceLoop)) return;
  pass.write("VTIMER = ELAPSED_TIME\n");
  pass.write(line);
  line.assign("GOSUB MODULES\n");
  RewriteState& state = pass.state();
  state.groundDistanceLoop = GroundDistanceLoop::inside;
  ++state.added.supervisedApproachLoops;
  if (state.radialCheckWatch == RadialCheckWatch::notArmed) {
    state.radialCheckWatch = RadialCheckWatch::armed;
  }
}

void armRadialCheckWatch(Pass& pass) {
  RewriteState& state = pass.state();
  if (contains(pass.line(), kGroundDistanceLoop) &&
      state.radialCheckWatch == RadialCheckWatch::notArmed) {
    state.radialCheckWatch = RadialCheckWatch::armed;
  }
}

void removeSpeedCheckCall(Pass& pass) {
  if (contains(pass.line(), kSpeedCheckCall)) pass.line().assign("\n");
}

void superviseGroundDistanceLoop(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kGroundDistanceWait)) return;
  pass.write("VTIMER = ELAPSED_TIME + 30\n");
  pass.write(line);
  ++pass.state().added.supervisedApproachLoops;
  // The decision jumps to the forced missed approach's entry, which exists only with that feature.
  if (pass.state().forcedMissedApproach && contains(line, "< 6")) {
    // A forced missed approach that has touched down: still fast, it is flown again; slowed down,
    // the landing stands.
    pass.write("   WAIT 5\n"
               "   IF (VMAPPREASON = 1) AND ON_GROUND THEN\n"
               "     IF VELOCITY > 50 THEN\n"
               "       GOTO MISSED_APP2\n"
               "     ELSE\n"
               "       GOTO DEST_GROUND\n"
               "     ENDIF\n"
               "   ENDIF\n");
  }
  pass.write("   IF ELAPSED_TIME > VTIMER THEN\n"
             "     GOSUB SPEED_CHECK\n"
             "     IF VSQUAWKCNG = 1 THEN\n"
             "       GOSUB TEST_XPNDR_EXT\n"
             "     ENDIF\n"
             "     VTIMER  = ELAPSED_TIME + 30\n"
             "   ENDIF\n");
  line.assign("   GOSUB MODULES\n");
}

}  // namespace aplpatch
