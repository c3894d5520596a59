#include "rules/descent/missed_approach_entry.h"

#include "engine/line_text.h"

namespace aplpatch {

void writeMissedApproachEntry(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kMissedApproachCall)) return;
  const RewriteState& state = pass.state();
  pass.write(line);
  pass.write(
      "VMAPPREASON = 0\n"
      "GOTO MISSED_APP3\n"
      "MISSED_APP2:\n"
      "  GOSUB PLAYCALL\n");
  pass.write("  ");
  pass.write(state.soundRoot);
  pass.write("Missed\"\n");
  pass.write(
      "  VMAPPREASON = 1\n"
      "MISSED_APP3:\n");
  if (state.hasChecklists) {
    pass.write(
        "VLISTCHECK  = 5\n"
        "VCHECKLISTS = 5\n"
        "VCHECKSDONE = 5\n");
  }
  pass.write(" VFLYMISSEDAPP = 1\n");
  line.assign(" VMAXALT = 500000\n");
}

}  // namespace aplpatch
