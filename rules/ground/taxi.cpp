#include "rules/ground/taxi.h"

#include "engine/line_text.h"
#include "rules/ground/supervision_text.h"

namespace aplpatch {

void redirectTerminalJump(Pass& pass) {
  std::string& line = pass.line();
  if (contains(line, kTerminalJump)) line.assign("GOTO WAIT_FINALSTOP\n");
}

void superviseTaxiStart(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kCheckIfMovingLabel)) return;
  pass.write(line);
  pass.write(
      "VTIMER2 = ELAPSED_TIME\n"
      "VMISSCNT = 0\n"
      "VLAT = PLANE_LAT\n"
      "VLON = PLANE_LON\n"
      "WHILE (GROUND_DISTANCE(VLAT,VLON) < 0.01) OR (VPUSHBACK = 1)\n"
      "  IF ELAPSED_TIME > VTIMER2 + 120 - (60 * VMISSCNT) THEN\n"
      "    IF VMISSCNT = 0 THEN\n"
      "      VMISSCNT = 1\n"
      "      GOSUB TAXI_VIA\n"
      "      VTIMER2 = ELAPSED_TIME\n"
      "    ELSE\n");
  RewriteState& state = pass.state();
  ++state.added.taxiSupervisions;
  if (state.withdrawClearances) {
    ++state.added.clearanceWithdrawals;
    writeSoundLine(pass, "     GOSUB PLAYCALL\n     ", "Cancel\"\n");
    pass.write(inMessageLanguage(
        pass, "     PRINT\"TAXI CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n",
        "     PRINT\"TAXIFREIGABE ZUR\xDC" "CKGENOMMEN! DAS ADVENTURE WIRD BEENDEN...\"\n"));
    pass.write(
        "     WAIT MESSAGE\n"
        "     GOTO ENDE\n"
        "    ENDIF\n"
        "  ENDIF\n");
  } else {
    // Every further minute without moving repeats the taxi clearance.
    pass.write(
        "      GOSUB TAXI_VIA\n"
        "      VTIMER2 = ELAPSED_TIME\n"
        "    ENDIF\n"
        "  ENDIF\n");
  }
  line.assign("ENDWHILE\n");
}

void resetTaxiTimerBeforeTaxiSounds(Pass& pass) {
  const std::string& line = pass.line();
  for (std::string_view sound : kPreTaxiSounds) {
    if (contains(line, sound)) {
      pass.write(
          "VTIMER2 = ELAPSED_TIME\n"
          "VMISSCNT = 0\n");
    }
  }
}

}  // namespace aplpatch
