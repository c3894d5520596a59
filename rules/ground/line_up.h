#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kLineUpLabel = "LINE_UP:";
inline constexpr std::string_view kLineUpCall = "LINE_UP";

// The "LINE_UP:" label gets a random hold with a stand-by call in front of the clearance, during
// which moving the aircraft ends the adventure (without clearance withdrawals it brings the
// stand-by call again). The clearance itself moves to a second label,
// "LINE_UP2:", which the key binding and the runway-alignment watch call directly.
void holdBeforeLineUp(Pass& pass);

// A key binding that calls LINE_UP calls LINE_UP2 instead: the line is cut right after the first
// "LINE_UP" and ends in "2".
void redirectLineUpKey(Pass& pass);

}  // namespace aplpatch
