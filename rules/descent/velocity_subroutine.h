#pragma once

#include "rules/rule_pass.h"

namespace aplpatch {

// After the last line: the COMPUTE_VELOCITY_Y subroutine, which sets VEL_Y to the altitude change
// per 60 units of ELAPSED_TIME, measured over one WAIT 1. Written for every script.
void appendVelocitySubroutine(Pass& pass);

}  // namespace aplpatch
