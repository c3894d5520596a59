#include "rules/ground/line_up.h"

#include "engine/line_text.h"
#include "rules/ground/supervision_text.h"
#include "rules/key_binding.h"

namespace aplpatch {

void holdBeforeLineUp(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kLineUpLabel)) return;
  pass.write(line);
  // RANDOM is first drawn as often as the last decimal place of the time says, so that whether the
  // hold happens differs from run to run.
  pass.write(
      "VTIMER2 = ELAPSED_TIME\n"
      "VTIMER2 = ( (VTIMER2 / 10) - INT( VTIMER2 / 10) ) * 10\n"
      "WHILE VTIMER2 > 0\n"
      " VTIMER2 = VTIMER2 - 1\n"
      " VRANDOM = RANDOM\n"
      "ENDWHILE\n"
      "VRANDOM = RANDOM * 100\n"
      "IF VRANDOM > 30 THEN\n"
      " GOSUB PLAYCALL\n");
  writeSoundLine(pass, " ", "StandBy\"\n");
  writeSoundLine(pass, " ", "COPILOTS\\VOICE01\\FC_ROGER\"\n");
  pass.write(
      " VRANDOM = RANDOM * 20 + 10\n"
      " WAIT 10\n"
      " VTIMER2 = ELAPSED_TIME + VRANDOM\n"
      " VLAT = PLANE_LAT\n"
      " VLON = PLANE_LON\n"
      " WHILE ELAPSED_TIME < VTIMER2\n"
      "   GOSUB CHECK_TAKEOFF_CLR\n"
      "   IF GROUND_DISTANCE(VLAT,VLON) > 0.01 THEN\n"
      "    GOSUB PLAYCALL\n");
  RewriteState& state = pass.state();
  ++state.added.lineUpHolds;
  if (state.withdrawClearances) {
    ++state.added.clearanceWithdrawals;
    writeSoundLine(pass, "    ", "Cancel\"\n");
    pass.write(inMessageLanguage(
        pass,
        "PRINT\"YOU HAVE NOT GET YOUR LINE-UP CLEARANCE! THE ADVANTURE WILL BE ENDED...\"\n",
        "PRINT\"SIE HATTEN KEINE LINE-UP-FREIGABE! DAS ADVENTURE WIRD BEENDEN...\"\n"));
    pass.write(
        "WAIT MESSAGE\n"
        "GOTO ENDE\n"
        "   ENDIF\n"
        " ENDWHILE\n"
        "ENDIF\n");
  } else {
    // Moving during the hold brings the stand-by call again, once for each further stretch moved.
    writeSoundLine(pass, "    ", "StandBy\"\n");
    pass.write(
        "    VLAT = PLANE_LAT\n"
        "    VLON = PLANE_LON\n"
        "   ENDIF\n"
        " ENDWHILE\n"
        "ENDIF\n");
  }
  line.assign("LINE_UP2:\n");
}

void redirectLineUpKey(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, "ONKEY KV")) return;
  const std::size_t at = line.find(kLineUpCall);
  if (at == std::string::npos) return;
  line.resize(at + kLineUpCall.size());
  line.append("2\n");
  if (auto key = boundKeyCode(line)) noteKeyCode(pass.state().added.lineUpKeys, *key);
}

}  // namespace aplpatch
