#pragma once

#include "engine/pass.h"

namespace aplpatch {

// Inside the pushback subroutine: its "RETURN" gets the end-of-pushback position stored and
// VPUSHBACK cleared ahead of it, which closes the body; any other line holding "WAIT 1" is blanked.
void editPushbackBody(Pass& pass);

// The "EXECUTE_PUSHPACK:" label: sets VPUSHBACK to 1 right after the label and opens the body.
void openPushbackBody(Pass& pass);

// A call of the pushback subroutine restarts the taxi timer and miss counter before it and the timer
// again after it.
void resetTaxiTimerAroundPushback(Pass& pass);

}  // namespace aplpatch
