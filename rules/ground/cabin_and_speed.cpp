#include "rules/ground/cabin_and_speed.h"

#include "engine/line_text.h"

namespace aplpatch {

void countCrying(Pass& pass) {
  if (!contains(pass.line(), kCryingSound)) return;
  pass.write(" VCRY = VCRY + 1\n");
  pass.write(" WAIT 1\n");
}

void guardApplause(Pass& pass) {
  if (!contains(pass.line(), kApplauseSound)) return;
  pass.write(" IF VCRY <= 3 THEN\n");
  pass.write(pass.line());
  pass.line().assign("ENDIF\n");
}

void callBeforeSpeedWarning(Pass& pass) {
  if (!contains(pass.line(), kSpeedWarningTest)) return;
  pass.write(pass.line());
  pass.line().assign("  GOSUB PLAYCALL\n");
}

void offerSpeedLimitAlternative(Pass& pass) {
  if (!contains(pass.line(), kSpeedLimit)) return;
  pass.write(pass.line());
  pass.write("ELSE\n");
  pass.line().assign("VSPD = 250\n");
}

}  // namespace aplpatch
