#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The closing jump of the wait-for-VOR loop.
inline constexpr std::string_view kWaitVorJump = "GOTO WAIT_VOR";

// Once armed, the closing jump of the wait-for-VOR loop ("GOTO WAIT_VOR...") is rewritten: the loop
// calls a new subroutine CENTERX, the departure key is rebound to it, the loop jumps back to its
// "_MISSED" entry, and CENTERX itself follows in place of the jump: the target altitude, the kept
// centre block replayed with some calls adjusted, and a call of the autopilot. The line becomes
// "RETURN\n", which closes CENTERX. Disarms; the kept lines stay for a later replay.
void writeCenterSubroutine(Pass& pass);

}  // namespace aplpatch
