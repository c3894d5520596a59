#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kTakeoffWait = "WHILE ON_GROUND\n";

// A take-off wait loop ("WHILE ON_GROUND" alone on its line) gets a new body: it calls TAKEOFF again,
// then warns the pilot, then cancels the clearance and ends the adventure (without clearance
// withdrawals it warns again every further 30 seconds). The loop's own body is
// dropped up to the first line holding "ENDWHILE", which goes on through the later rules as read.
void superviseTakeoff(Pass& pass);

// In its place without ground supervision: the loop's own body stays, unseen by the other rules as
// the supervision hides it, up to the "ENDWHILE" line.
void keepTakeoffWait(Pass& pass);

}  // namespace aplpatch
