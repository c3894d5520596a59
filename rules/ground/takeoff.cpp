#include "rules/ground/takeoff.h"

#include "engine/line_text.h"
#include "rules/ground/supervision_text.h"
#include "rules/unseen_lines.h"

namespace aplpatch {

namespace {

// Shown when the pilot has not rolled after the second call; none while the language is unknown.
std::string_view warningLine(Pass& pass) {
  switch (pass.state().messageLanguage) {
    case MessageLanguage::english: return "PRINT\"IF YOU HAVE ANY PROBLEM LEAVE THE RUNWAY!\"\n";
    case MessageLanguage::german: return "PRINT\"FALLS SIE PROBLEME HABEN, VERLASSEN SIE DIE STARTBAHN!\"\n";
    case MessageLanguage::none: break;
  }
  return "";
}

}  // namespace

void superviseTakeoff(Pass& pass) {
  const std::string& line = pass.line();
  if (!equals(line, kTakeoffWait)) return;
  pass.write(" VMISSCNT = 0\n");
  pass.write(line);
  pass.write(
      " IF (ELAPSED_TIME > VTIMER + 45) AND (VELOCITY_INDICATED < 30) AND (VMISSCNT = 0) THEN\n"
      "   GOSUB TAKEOFF\n"
      "   VMISSCNT = 1\n"
      "   VTIMER = ELAPSED_TIME\n"
      " ELSEIF (ELAPSED_TIME > VTIMER + 30) AND (VELOCITY_INDICATED < 30) AND (VMISSCNT = 1) THEN\n"
      "   GOSUB PLAYCALL\n");
  writeSoundLine(pass, "   ", "CONTROLLERS\\VOICE1\\FC_N010\"\n");
  pass.write(warningLine(pass));
  pass.write(
      "   VMISSCNT = 2\n"
      "   VTIMER = ELAPSED_TIME\n"
      " ELSEIF (ELAPSED_TIME > VTIMER + 30) AND (VELOCITY_INDICATED < 25) AND (VMISSCNT = 2) THEN\n"
      "   GOSUB PLAYCALL\n");
  RewriteState& state = pass.state();
  ++state.added.takeoffSupervisions;
  if (state.withdrawClearances) {
    ++state.added.clearanceWithdrawals;
    writeSoundLine(pass, "   ", "Cancel\"\n");
    pass.write(inMessageLanguage(
        pass, "PRINT\"TAKEOFF CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n",
        "PRINT\"STARTFREIGABE ZUR\xDC" "CKGENOMMEN! DAS ADVENTURE WIRD BEENDEN...\"\n"));
    pass.write(
        "WAIT MESSAGE\n"
        "GOTO ENDE\n"
        " ENDIF\n");
  } else {
    // The controller's warning again, every further 30 seconds without rolling.
    writeSoundLine(pass, "   ", "CONTROLLERS\\VOICE1\\FC_N010\"\n");
    pass.write(warningLine(pass));
    pass.write(
        "   VTIMER = ELAPSED_TIME\n"
        " ENDIF\n");
  }
  // At the end of the input the skip leaves the line buffer empty and the loop ends.
  pass.skipUntil("ENDWHILE");
}

void keepTakeoffWait(Pass& pass) {
  if (!equals(pass.line(), kTakeoffWait)) return;
  pass.write(pass.line());
  keepUnseenUntil(pass, "ENDWHILE");
}

}  // namespace aplpatch
