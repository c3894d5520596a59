#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts this rule tests.
inline constexpr std::string_view kFixHdgLabel = "FIX_HDG";
inline constexpr std::string_view kFixBcLabel = "FIX_BC";
inline constexpr std::string_view kHoldfixLabelStart = "HOLDFIX_";
inline constexpr std::string_view kAutopilotHeading = "AUTOPILOT_HEADING";
inline constexpr std::string_view kCopilotTest = "IF VCOPILOT = 1 THEN";

// Follows the two heading-fix subroutines of the holding sections.
// In FIX_HDG, the heading is remembered in VLASTHDG just before the autopilot heading is set.
// In FIX_BC, the copilot branch runs only while VFIRSTCALL is 0 (and sets it), and the turn onto the
// VOR course is replaced by a computed intercept turn: 90 degrees off the course on the side the
// remembered heading lies, a wait until the aircraft has started turning, then the course itself.
// Both subroutines end at their first autopilot heading or at the next holding-fix label.
void followHeadingFix(Pass& pass);

// In its place without approach tracking: the subroutines stay as the host wrote them, and the
// lines that the intercept turn replaces are kept unseen by the other rules, as the turn hides them.
void keepHeadingFixTurn(Pass& pass);

}  // namespace aplpatch
