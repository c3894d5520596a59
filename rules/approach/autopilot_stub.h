#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kAutopilotLabel = "AUTOPILOT:";

// Notes that the script has its own AUTOPILOT subroutine (a line with "AUTOPILOT:").
void noteAutopilotSubroutine(Pass& pass);

// After the last line: a script without its own AUTOPILOT subroutine gets an empty one, so the
// calls of it that the rewrite inserts always have a target.
void appendAutopilotStub(Pass& pass);

}  // namespace aplpatch
