#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kCenterResponseEnd = "RETURN";
inline constexpr std::string_view kCenterResponseLabel = "CENTER_RESPOND:";
inline constexpr std::string_view kTransponderSetting = "TRANS_FREQ =";

// At the RETURN that ends the centre's response subroutine, inserts a random change of the assigned
// transponder code (unless a missed approach is being flown), spoken and checked by TEST_XPNDR_EXT.
void insertSquawkChange(Pass& pass);

// "CENTER_RESPOND:" opens the centre's response subroutine.
void noteCenterResponse(Pass& pass);

// Notes that the script sets the transponder itself ("TRANS_FREQ ="), so the appended check sets it
// to the new code as well.
void noteTransponderSetting(Pass& pass);

}  // namespace aplpatch
