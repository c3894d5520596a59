#pragma once

#include "engine/pass.h"

namespace aplpatch {

// Follows the two heading-fix subroutines of the holding sections.
// In FIX_HDG, the heading is remembered in VLASTHDG just before the autopilot heading is set.
// In FIX_BC, the copilot branch runs only while VFIRSTCALL is 0 (and sets it), and the turn onto the
// VOR course is replaced by a computed intercept turn: 90 degrees off the course on the side the
// remembered heading lies, a wait until the aircraft has started turning, then the course itself.
// Both subroutines end at their first autopilot heading or at the next holding-fix label.
void followHeadingFix(Pass& pass);

}  // namespace aplpatch
