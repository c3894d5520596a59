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

}  // namespace

void superviseRunwayAlignment(Pass& pass) {
  RewriteState& state = pass.state();
  std::string& line = pass.line();
  if (state.inRunwayAlign) {
    if (contains(line, kTakeoffLabel)) {
      state.inRunwayAlign = false;
    } else if (contains(line, kHeadingWaits[0]) || contains(line, kHeadingWaits[1])) {
      writeAlignmentSupervision(pass);
      line.assign("  ENDIF\n");
      state.inRunwayAlign = false;
    }
  }
  // Armed only after the test above, so the label line is never supervised by its own watch.
  if (contains(line, kRunwayAlignLabel)) state.inRunwayAlign = true;
}

void keepRunwayAlignmentWait(Pass& pass) {
  RewriteState& state = pass.state();
  std::string& line = pass.line();
  if (state.inRunwayAlign) {
    if (contains(line, kTakeoffLabel)) {
      state.inRunwayAlign = false;
    } else if (contains(line, kHeadingWaits[0]) || contains(line, kHeadingWaits[1])) {
      state.inRunwayAlign = false;
      writeUnseen(pass);
      return;
    }
  }
  if (contains(line, kRunwayAlignLabel)) state.inRunwayAlign = true;
}

}  // namespace aplpatch
