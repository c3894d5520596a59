#include "rules/approach/autopilot_stub.h"

#include "engine/line_text.h"

namespace aplpatch {

void noteAutopilotSubroutine(Pass& pass) {
  if (contains(pass.line(), kAutopilotLabel)) pass.state().hasAutopilotSub = true;
}

void appendAutopilotStub(Pass& pass) {
  if (!pass.state().hasAutopilotSub) pass.write("AUTOPILOT:\nRETURN\n");
}

}  // namespace aplpatch
