#include "rules/ground/runway_alignment.h"

#include "engine/line_text.h"
#include "rules/ground/supervision_text.h"
#include "rules/unseen_lines.h"

namespace aplpatch {

namespace {

void writeAlignmentSupervision(Pass& pass) {
  pass.write(
      " VTIMER2 = ELAPSED_TIME\n"
      " VMISSCNT = 0\n");
  pass.write(pass.line());
  pass.write(
      "  IF ELAPSED_TIME > VTIMER2 + 60 THEN\n"
      "    IF VMISSCNT = 0 THEN\n"
      "      VMISSCNT = 1\n"
      "      GOSUB LINE_UP2\n"
      "      VTIMER2 = ELAPSED_TIME\n"
      "    ELSE\n");
  RewriteState& state = pass.state();
  ++state.added.runwayAlignmentSupervisions;
  if (state.withdrawClearances) {
    ++state.added.clearanceWithdrawals;
    writeSoundLine(pass, "     GOSUB PLAYCALL\n     ", "Cancel\"\n");
    pass.write(inMessageLanguage(
        pass, "     PRINT\"RUNWAY CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n",
        "     PRINT\"RUNWAY FREIGABE ZUR\xDC" "CKGENOMMEN! DAS ADVENTURE WIRD BEENDEN...\"\n"));
    pass.write(
        "     WAIT MESSAGE\n"
        "     GOTO ENDE\n"
        "    ENDIF\n");
  } else {
    // Every further minute off the runway heading repeats the line-up clearance.
    pass.write(
        "      GOSUB LINE_UP2\n"
        "      VTIMER2 = ELAPSED_TIME\n"
        "    ENDIF\n");
  }
}

// Follows the window from the runway-alignment label to the take-off label; true on the heading
// wait that ends it. The window opens only after the label line itself has been looked at, so the
// label line is never taken for a wait of its own window, and never on the wait that ends one.
bool reachesAlignmentWait(Pass& pass) {
  RewriteState& state = pass.state();
  const std::string& line = pass.line();
  bool reached = false;
  if (state.inRunwayAlign) {
    reached = !contains(line, kTakeoffLabel) &&
              (contains(line, kHeadingWaits[0]) || contains(line, kHeadingWaits[1]));
    if (reached || contains(line, kTakeoffLabel)) state.inRunwayAlign = false;
  }
  if (!reached && contains(line, kRunwayAlignLabel)) state.inRunwayAlign = true;
  return reached;
}

}  // namespace

void superviseRunwayAlignment(Pass& pass) {
  if (!reachesAlignmentWait(pass)) return;
  writeAlignmentSupervision(pass);
  pass.line().assign("  ENDIF\n");
}

void keepRunwayAlignmentWait(Pass& pass) {
  if (reachesAlignmentWait(pass)) writeUnseen(pass);
}

}  // namespace aplpatch
