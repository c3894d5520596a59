#pragma once

#include "engine/pass.h"

namespace aplpatch {

// Blanks the header's runway description lines (a "DESCRIPTION" line naming a "RWY").
void blankRunwayDescription(Pass& pass);

}  // namespace aplpatch
