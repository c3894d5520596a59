#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kMissedApproachCall = "FC_N043";

// After the missed-approach call ("FC_N043"), the normal entry and the forced entry MISSED_APP2 meet
// at MISSED_APP3, which marks the missed approach as flown (resetting the checklists when the script
// has them) and lifts the altitude limit.
void writeMissedApproachEntry(Pass& pass);

}  // namespace aplpatch
