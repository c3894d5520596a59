#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts this rule tests.
inline constexpr std::string_view kFinalStopLabel = "WAIT_FINAL_STOP:";
inline constexpr std::string_view kSeventhChecklist = "VCHECKLISTS = 7";

// Turns the wait for the final stop into a supervision: every 30 seconds until the aircraft has
// turned off the runway it plays the leave-the-runway call (with a message in the script's
// language, when known), and it goes on only once the aircraft has turned off and stood still for 3
// seconds. At a "WAIT_FINAL_STOP:" label the block follows the label and the rest of that
// subroutine is dropped up to the "FINALLIST:" line, which becomes the current line as read (at the
// end of the input the rule stops). Ahead of a line starting with "VCHECKLISTS = 7" the block is
// written and the line stays.
void superviseVacateRunway(Pass& pass);

// In its place without ground supervision: after a "WAIT_FINAL_STOP:" label the subroutine stays,
// unseen by the other rules as the supervision hides it, up to the "FINALLIST:" line.
void keepFinalStopWait(Pass& pass);

}  // namespace aplpatch
