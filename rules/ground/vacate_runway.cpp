#include "rules/ground/vacate_runway.h"

#include <string_view>

#include "engine/line_text.h"
#include "rules/unseen_lines.h"

namespace aplpatch {

namespace {

constexpr std::string_view kWatchTurnOff =
    "VMISSCNT = 0\n"
    "VTIMER = ELAPSED_TIME\n"
    "TEST1:\n"
    " VTIMER2 = -1\n"
    " VLAT = PLANE_LAT\n"
    " VLON = PLANE_LON\n"
    "TEST2:\n"
    " IF (VMISSCNT = 0) AND (NOT INRANGE360(PLANE_HEADING,VHDG-30,VHDG+30)) THEN\n"
    "   VMISSCNT = 1\n"
    " ENDIF\n"
    " IF (ELAPSED_TIME > VTIMER + 30) AND (VMISSCNT = 0) THEN\n"
    "   GOSUB PLAYCALL\n";

constexpr std::string_view kEnglishMessage =
    "     PRINT\"LEAVE THE RUNWAY !\"\n"
    "     WAIT MESSAGE\n";

constexpr std::string_view kGermanMessage =
    "     PRINT\"VERLASSEN SIE SCHNELLSTM\xD6"
    "GLICH DIE LANDEBAHN !\"\n"
    "     WAIT MESSAGE\n";

constexpr std::string_view kWaitForStop =
    "  VTIMER = ELAPSED_TIME\n"
    " ENDIF\n"
    " GOSUB CHECK_TAKEOFF_CLR\n"
    " IF GROUND_DISTANCE(VLAT,VLON) < 0.001 THEN\n"
    "   IF VMISSCNT = 1 THEN\n"
    "      IF VTIMER2 = -1 THEN\n"
    "         VTIMER2 = ELAPSED_TIME\n"
    "      ELSEIF ELAPSED_TIME > VTIMER2 + 3 THEN\n"
    "         GOTO TEST3\n"
    "      ENDIF\n"
    "      GOTO TEST2\n"
    "   ENDIF\n"
    " ENDIF\n"
    " GOTO TEST1\n"
    "TEST3:\n";

}  // namespace

void superviseVacateRunway(Pass& pass) {
  std::string& line = pass.line();
  const bool atLabel = contains(line, kFinalStopLabel);
  if (!atLabel && !startsWith(line, kSeventhChecklist)) return;
  RewriteState& state = pass.state();
  ++state.added.vacateSupervisions;

  if (atLabel) pass.write(line);
  pass.write(kWatchTurnOff);
  std::string& call = pass.scratch();
  call.assign("  ");
  call.append(state.soundRoot);
  call.append("Leave\"\n");
  pass.write(call);
  if (state.messageLanguage == MessageLanguage::german) {
    pass.write(kGermanMessage);
  } else if (state.messageLanguage == MessageLanguage::english) {
    pass.write(kEnglishMessage);
  }
  pass.write(kWaitForStop);

  if (atLabel) pass.skipUntil("FINALLIST:");
}

void keepFinalStopWait(Pass& pass) {
  if (!contains(pass.line(), kFinalStopLabel)) return;
  pass.write(pass.line());
  keepUnseenUntil(pass, "FINALLIST:");
}

}  // namespace aplpatch
