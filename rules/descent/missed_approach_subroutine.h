#pragma once

#include "rules/rule_pass.h"

namespace aplpatch {

// Appends MISSED_APP_KEY, the subroutine the missed-approach key binding calls: it sets the flag.
// Always appended, and last, whether or not the script had a key.
void appendMissedApproachKeySubroutine(Pass& pass);

}  // namespace aplpatch
