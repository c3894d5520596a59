#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kRadialSelfAssignment = "VRAD = VRAD\n";

// A line ending in the radial's self-assignment "VRAD = VRAD" becomes the heading assignment
// "VHDG = VRAD" (anything ahead of it on the line, indentation included, is dropped).
void turnRadialIntoHeading(Pass& pass);

}  // namespace aplpatch
