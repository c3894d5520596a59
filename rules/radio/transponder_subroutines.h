#pragma once

#include "rules/rule_pass.h"

namespace aplpatch {

// Appends the three subroutines over the table of transponder codes, each choosing by the assigned
// index VSQUAWK: SET_XPNDR_EXT (the controller speaks the code in the current voice),
// SET_XPNDR_AUTOPILOT_EXT (the transponder is set to the code) and TEST_XPNDR_EXT (when the
// transponder does not show the code: radio call, spoken code, message in the script's language,
// the departure key rebound to hear the code again, the co-pilot's read-back).
void appendTransponderSubroutines(Pass& pass);

}  // namespace aplpatch
