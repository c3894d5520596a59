#include "rules/descent/missed_approach_flight.h"

#include "engine/line_text.h"

namespace aplpatch {

void skipCenterResponseWhenMissed(Pass& pass) {
  std::string& line = pass.line();
  if (!startsWith(line, kCenterResponseCall)) return;
  pass.write("  IF VFLYMISSEDAPP = 0 THEN\n");
  pass.write(line);
  pass.write(
      "  ELSE\n"
      "     GOSUB PLAYCALL\n");
  line.assign(" ENDIF\n");
}

void skipApproachContactWhenMissed(Pass& pass) {
  std::string& line = pass.line();
  if (!startsWith(line, kApproachContactCall)) return;
  pass.write("  IF VFLYMISSEDAPP = 0 THEN\n");
  pass.write(line);
  line.assign(" ENDIF\n");
}

void shortcutToLocalizerWhenMissed(Pass& pass) {
  if (!contains(pass.line(), kLocalizerFrequencyWait)) return;
  pass.write(
      "IF (COM_FREQ = 122.00) AND (VFLYMISSEDAPP = 1) THEN\n"
      "  GOTO LOCALIZER\n"
      "ENDIF\n");
}

}  // namespace aplpatch
