#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kGroundDistanceLoopEnd = "ENDWHILE";
inline constexpr std::string_view kTimerRestart = "VTIMER = ELAPSED_TIME";
inline constexpr std::string_view kTimedBranch = "IF ELAPSED_TIME > VTIMER +";
inline constexpr std::string_view kGroundDistanceLoop = "WHILE VGROUNDDIST > 3\n";
inline constexpr std::string_view kSpeedCheckCall = "GOSUB SPEED_CHECK";
inline constexpr std::string_view kGroundDistanceWait = "WHILE GROUND_DISTANCE";

// Inside the loop that runs while the ground distance is above 3 (up to the first "ENDWHILE"): the
// script's own timer settings are blanked, and its timed branch starts with the speed check and
// restarts the timer.
void reworkGroundDistanceLoopBody(Pass& pass);

// At "WHILE VGROUNDDIST > 3" (the whole end of the line): starts the timer ahead of the loop, makes
// the module subroutine the loop's first line, and arms the watch for an altitude check ahead of
// the first radial check (once per run).
void openGroundDistanceLoop(Pass& pass);
// In its place without the approach tracking: the loop's line is unchanged, and it still arms the
// watch for an altitude check ahead of the first radial check.
void armRadialCheckWatch(Pass& pass);

// Blanks every "GOSUB SPEED_CHECK" line of the script: the supervised loops run the speed check in
// their timed branches instead.
void removeSpeedCheckCall(Pass& pass);

// At "WHILE GROUND_DISTANCE": a timer ahead of the loop, and at the top of its body the
// missed-approach or landing decision (only for a loop on "< 6", and only with the forced missed
// approach), the timed speed and transponder checks, and the module subroutine.
void superviseGroundDistanceLoop(Pass& pass);

}  // namespace aplpatch
