#pragma once

#include "engine/pass.h"

namespace aplpatch {

// After the missed-approach call ("FC_N043"), the normal entry and the forced entry MISSED_APP2 meet
// at MISSED_APP3, which marks the missed approach as flown (resetting the checklists when the script
// has them) and lifts the altitude limit.
void writeMissedApproachEntry(Pass& pass);

}  // namespace aplpatch
