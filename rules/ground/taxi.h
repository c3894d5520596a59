#pragma once

#include <array>
#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kTerminalJump = "GOTO TERMINAL";
inline constexpr std::string_view kCheckIfMovingLabel = "CHECK_IF_MOOVING:";
inline constexpr std::array<std::string_view, 2> kPreTaxiSounds = {"B4TAXI0", "B4TAXI3"};

// A jump to the terminal becomes a jump to the final-stop wait; the rest of the line is dropped.
void redirectTerminalJump(Pass& pass);

// The "CHECK_IF_MOOVING:" label gets a loop that waits until the aircraft has moved away from where
// pushback ended: it calls TAXI_VIA once, and on a second timeout cancels the taxi clearance and
// ends the adventure; without clearance withdrawals it calls TAXI_VIA again every further minute.
void superviseTaxiStart(Pass& pass);

// The pre-taxi sounds "B4TAXI0" and "B4TAXI3" restart the taxi timer and miss counter ahead of them,
// once for each of the two names the line holds.
void resetTaxiTimerBeforeTaxiSounds(Pass& pass);

}  // namespace aplpatch
