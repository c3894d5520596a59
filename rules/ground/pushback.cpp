#include "rules/ground/pushback.h"

#include "engine/line_text.h"

namespace aplpatch {

void editPushbackBody(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.openBlock != OpenBlock::pushback) return;
  std::string& line = pass.line();
  if (contains(line, kPushbackEnd)) {
    pass.write(
        " VLAT = PLANE_LAT\n"
        " VLON = PLANE_LON\n"
        " VPUSHBACK = 0\n");
    state.openBlock = OpenBlock::none;
  } else if (contains(line, kPushbackWait)) {
    pass.print("removing WAIT\n");
    line.assign("\n");
  }
}

void openPushbackBody(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kPushbackLabel)) return;
  pass.print("SUBPROC for pushback found\n");
  pass.write(line);
  line.assign(" VPUSHBACK = 1\n");
  pass.state().openBlock = OpenBlock::pushback;
  ++pass.state().added.pushbackSupervisions;
}

void endOpenBlockAtPushbackLabel(Pass& pass) {
  if (contains(pass.line(), kPushbackLabel)) pass.state().openBlock = OpenBlock::none;
}

void resetTaxiTimerAroundPushback(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kPushbackCall)) return;
  pass.write(
      "VTIMER2 = ELAPSED_TIME\n"
      "VMISSCNT = 0\n");
  pass.write(line);
  line.assign("VTIMER2 = ELAPSED_TIME\n");
}

}  // namespace aplpatch
