#pragma once

#include "engine/pass.h"

namespace aplpatch {

// After a "CHECK_RWY_ALIGN:" label, the first heading wait loop gets a supervision at the top of its
// body: it calls LINE_UP2 again, then cancels the runway clearance and ends the adventure. A
// "TAKEOFF:" label before such a loop ends the watch unsupervised.
void superviseRunwayAlignment(Pass& pass);

}  // namespace aplpatch
