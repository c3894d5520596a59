#include "rules/ground/ground_frequency.h"

#include "engine/line_text.h"

namespace aplpatch {

void awaitGroundContact(Pass& pass) {
  RewriteState& state = pass.state();
  if (!state.inGroundFreqWait) return;
  std::string& line = pass.line();
  if (contains(line, "ENDWHILE")) pass.write("VCONTACTED = 0\n");
  if (contains(line, "WHILE KEY !=")) {
    line.assign("WHILE (VCONTACTED = 0)\n");
    state.inGroundFreqWait = 0;
  }
}

void openGroundFrequencyWait(Pass& pass) {
  if (contains(pass.line(), "WAITGROUNDFREQ:")) {
    pass.state().openBlock(&RewriteState::inGroundFreqWait);
  }
}

}  // namespace aplpatch
