#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kPushbackEnd = "RETURN";
inline constexpr std::string_view kPushbackWait = "WAIT 1";
inline constexpr std::string_view kPushbackLabel = "EXECUTE_PUSHPACK:";
inline constexpr std::string_view kPushbackCall = "GOSUB EXECUTE_PUSHPACK";

// Inside the pushback subroutine: its "RETURN" gets the end-of-pushback position stored and
// VPUSHBACK cleared ahead of it, which closes the body; any other line holding "WAIT 1" is blanked.
void editPushbackBody(Pass& pass);

// The "EXECUTE_PUSHPACK:" label: sets VPUSHBACK to 1 right after the label and opens the body.
void openPushbackBody(Pass& pass);
// In its place without the ground supervision: the label still closes whatever block is open, as
// opening the pushback body would, and the line is unchanged.
void endOpenBlockAtPushbackLabel(Pass& pass);

// A call of the pushback subroutine restarts the taxi timer and miss counter before it and the timer
// again after it.
void resetTaxiTimerAroundPushback(Pass& pass);

}  // namespace aplpatch
