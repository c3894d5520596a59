#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kCryingSound = "FC_CRY";
inline constexpr std::string_view kApplauseSound = "FC_APPLAUSE";
inline constexpr std::string_view kSpeedWarningTest = "IF VELOCITY_INDICATED > VSPD + 10 THEN";
inline constexpr std::string_view kSpeedLimit = "VSPD = 5000";

// Counts each crying sound ("FC_CRY") in VCRY, with a second's wait ahead of it.
void countCrying(Pass& pass);

// Plays the applause ("FC_APPLAUSE") only while the crying has been played at most three times.
void guardApplause(Pass& pass);

// Makes the radio-call prelude the first statement of the overspeed warning.
void callBeforeSpeedWarning(Pass& pass);

// Follows a speed limit of 5000 with an alternative limit of 250.
void offerSpeedLimitAlternative(Pass& pass);

}  // namespace aplpatch
