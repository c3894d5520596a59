#include "rules/ground/ground_frequency.h"

#include "engine/line_text.h"

namespace aplpatch {

void awaitGroundContact(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.openBlock != OpenBlock::groundFrequencyWait) return;
  std::string& line = pass.line();
  if (contains(line, kGroundWaitLoopEnd)) pass.write("VCONTACTED = 0\n");
  if (contains(line, kGroundKeyWait)) {
    line.assign("WHILE (VCONTACTED = 0)\n");
    state.openBlock = OpenBlock::none;
  }
}

void openGroundFrequencyWait(Pass& pass) {
  if (contains(pass.line(), kGroundFrequencyLabel)) {
    pass.state().openBlock = OpenBlock::groundFrequencyWait;
  }
}

void endOpenBlockAtGroundFrequencyLabel(Pass& pass) {
  if (contains(pass.line(), kGroundFrequencyLabel)) pass.state().openBlock = OpenBlock::none;
}

}  // namespace aplpatch
