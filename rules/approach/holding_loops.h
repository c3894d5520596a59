#pragma once

#include <string_view>

#include "rules/rule_pass.h"
#include "rules/approach/holding_returns.h"

namespace aplpatch {

// The texts these rules test, besides the section labels.
inline constexpr std::string_view kHoldfixCEntryCall = "GOSUB FIX_HDG";
inline constexpr std::string_view kHoldfixBcEntryCall = "GOSUB FIX_BC";
inline constexpr std::string_view kHoldingWaitPhrase = "WHILE NOT INRANGE360(PLANE_HEADING,";
inline constexpr std::string_view kDeviationTest = "VDIF < -10";

// Each holding-fix section calls its heading subroutine and then waits until the heading lies in a
// range ("WHILE NOT INRANGE360(PLANE_HEADING,<first>,<second>)"). Both wait loops are replaced by a
// supervised loop: it ends 59 seconds after the heading first comes into range, and every 30
// seconds it repeats the entry call or reminds the pilot of the course while the heading is more
// than 10 degrees off the middle of the range with the wings level, keeping the altitude, speed,
// transponder and module checks running. The entry call used is the last one kept in either section.

// In a HOLDFIX_C section: keeps its "GOSUB FIX_HDG" line as the entry call, replaces the wait loop
// and drops the input up to the "GOTO HOLDFIX_BC" line, which goes on as read.
void superviseHoldfixCLoop(Pass& pass);

// In a HOLDFIX_BC section: the label line is followed by "VFIRSTCALL = 0"; keeps its "GOSUB FIX_BC"
// line as the entry call, replaces the wait loop and drops the input up to the first "ENDIF" line,
// which goes on as read.
void superviseHoldfixBcLoop(Pass& pass);

// In their places without holding supervision: an armed section's wait loop stays as the host
// wrote it, and its lines up to the one the section resumes at are kept unseen by the other rules,
// as the supervised loop hides them.
void keepHoldfixCLoop(Pass& pass);
void keepHoldfixBcLoop(Pass& pass);

// Any line with "VDIF < -10" becomes the deviation test that also requires the wings to be level.
void requireWingsLevelForDeviation(Pass& pass);

}  // namespace aplpatch
