#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kDefaultPerformance = "PERFORMANCE DEFAULT";

// Replaces a line holding "PERFORMANCE DEFAULT", whatever else it holds, by the frame-rate setting.
void setFramePerformance(Pass& pass);

}  // namespace aplpatch
