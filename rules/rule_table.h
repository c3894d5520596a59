#pragma once

#include <span>

#include "engine/rule_entry.h"

namespace aplpatch {

// The line rules, in the one order in which every pass runs them.
std::span<const RuleEntry> lineRules();

// The steps that append subroutines after the last line, in the order they run.
std::span<const RuleEntry> appendedSteps();

}  // namespace aplpatch
