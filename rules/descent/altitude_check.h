#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kAltitudeCheckCall = "GOSUB CHECK_ALTITUDE";
inline constexpr std::string_view kAltitudeCheckLabel = "CHECK_ALTITUDE:";
inline constexpr std::string_view kRadialCheckCall = "GOSUB RADIAL_CHECK";
inline constexpr std::string_view kAltitudeCheckName = "CHECK_ALTITUDE";
inline constexpr std::string_view kRadialWatchLoopEnd = "ENDWHILE";

// Every call of the altitude check is followed by the transponder test (while a squawk change is
// pending) and a restart of VTIMER. The first call after the start of the first ground-distance
// loop ends the watch for a missing altitude check there.
void followAltitudeCheckCall(Pass& pass);

// The "CHECK_ALTITUDE:" subroutine gets a body of its own, ended by "RETURN": the altitude reminder
// plays only when the aircraft is more than 400 off VALT and not already returning at more than 300
// (vertical speed from COMPUTE_VELOCITY_Y). The script's old body stays behind it, unreached.
void writeAltitudeCheckBody(Pass& pass);

// While the watch armed at the first ground-distance loop runs: the first radial check gets an
// altitude check ahead of it. The watch ends there, at any line still naming CHECK_ALTITUDE, or at
// the first "ENDWHILE".
void addAltitudeCheckToRadialCheck(Pass& pass);

}  // namespace aplpatch
