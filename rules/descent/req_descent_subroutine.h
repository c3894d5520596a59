#pragma once

#include "rules/rule_pass.h"

namespace aplpatch {

// Appends the REQ_DESCENT subroutine that the extra key calls: while a descent may be requested, the
// call to the centre and the pilot's request are played, the kept top-of-descent lines run without
// their radio-call and read-back parts, the descent is marked as done and the new altitude is
// announced, followed by the kept descent clearance read-back, if any.
void appendDescentRequest(Pass& pass);

}  // namespace aplpatch
