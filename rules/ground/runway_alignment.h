#pragma once

#include <array>
#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts this rule tests.
inline constexpr std::string_view kRunwayAlignLabel = "CHECK_RWY_ALIGN:";
inline constexpr std::string_view kTakeoffLabel = "TAKEOFF:";
inline constexpr std::array<std::string_view, 2> kHeadingWaits = {"WHILE (NOT INRANGE360(",
                                                                 "WHILE NOT INRANGE360("};

// After a "CHECK_RWY_ALIGN:" label, the first heading wait loop gets a supervision at the top of its
// body: it calls LINE_UP2 again, then cancels the runway clearance and ends the adventure (without
// clearance withdrawals it calls LINE_UP2 every further minute instead). A "TAKEOFF:" label before
// such a loop ends the watch unsupervised.
void superviseRunwayAlignment(Pass& pass);

// In its place without ground supervision: the watch still takes the first heading wait loop's
// line, unsupervised, out of the rest of the pass, as the supervision does, so that no later rule
// takes the loop for another.
void keepRunwayAlignmentWait(Pass& pass);

}  // namespace aplpatch
