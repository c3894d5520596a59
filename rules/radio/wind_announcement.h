#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kWindCall = "FC_N040";

// At the wind call ("FC_N040"), plays the wind speed through PLAY_WINDSPD and announces the wind
// direction (the next call, played with the course) only when there is wind. The lines between the
// calls are dropped; the call after the direction becomes the current line, as read. At the end of
// the input the rule stops writing.
void announceWind(Pass& pass);

// In its place without wind announcements: the lines up to the call after the direction stay,
// unseen by the other rules as the announcement hides them.
void keepWindCall(Pass& pass);

// Appends the PLAY_WINDSPD subroutine, which plays the recording for the surface wind speed: FC00
// to FC20 for each whole number, then every fifth up to FC95, rounding up; above 95 it plays
// nothing.
void appendPlayWindSpeed(Pass& pass);

}  // namespace aplpatch
