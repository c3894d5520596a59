#include "rules/radio/squawk_change.h"

#include "engine/line_text.h"

namespace aplpatch {

void insertSquawkChange(Pass& pass) {
  RewriteState& state = pass.state();
  if (!state.inCenterRespond || !contains(pass.line(), kCenterResponseEnd)) return;
  // Draws a new code index, different from the current one, in about four responses out of ten.
  pass.write(
      "  IF VFLYMISSEDAPP = 0 THEN\n"
      "   VRANDOM = RANDOM * 100\n"
      "   IF VRANDOM > 60 THEN\n"
      "     VSQUAWKNEU = VSQUAWK\n"
      "     WHILE VSQUAWKNEU = VSQUAWK\n"
      "       VSQUAWKNEU = INT(RANDOM * 10)\n"
      "     ENDWHILE\n"
      "     VSQUAWK = VSQUAWKNEU\n"
      "     VCALL = 0\n"
      "     GOSUB TEST_XPNDR_EXT\n"
      "     VCALL = 1\n"
      "     VSQUAWKCNG = 1\n"
      "   ENDIF\n"
      "  ENDIF\n");
  state.inCenterRespond = false;
  ++state.added.transponderChangePoints;
}

void noteCenterResponse(Pass& pass) {
  if (contains(pass.line(), kCenterResponseLabel)) pass.state().inCenterRespond = true;
}

void noteTransponderSetting(Pass& pass) {
  if (contains(pass.line(), kTransponderSetting)) pass.state().hasTransFreq = true;
}

}  // namespace aplpatch
