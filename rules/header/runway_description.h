#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kDescriptionKeyword = "DESCRIPTION";

// Blanks the header's runway description lines (a "DESCRIPTION" line naming a "RWY").
void blankRunwayDescription(Pass& pass);

}  // namespace aplpatch
