#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kAltitudeAssignment = "VALT = ";
// A test of the altitude, which also holds the assignment's text but is no assignment.
inline constexpr std::string_view kAltitudeTest = "IF VALT";

// An altitude assignment ("VALT = ", not an "IF VALT" test) is guarded with
// "IF VMAXALT = 500000 THEN" ... "ENDIF" unless the next line jumps to GOWAITVORX. The next line is
// read ahead and becomes the next pass's line; the assignment skips the rest of the pass.
void guardAltitudeAssignment(Pass& pass);

// In its place without the descent request: the assignment is written unguarded and still skips
// the rest of the pass, so every later rule sees the same lines as with the guard.
void passAltitudeAssignmentUnguarded(Pass& pass);

}  // namespace aplpatch
