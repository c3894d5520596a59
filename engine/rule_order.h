#pragma once

#include <span>

#include "engine/pass.h"

namespace aplpatch {

using RuleFunction = void (*)(Pass&);

struct RuleEntry {
  const char* name;  // the function's own name, for tests and diagnostics
  RuleFunction run;
};

// The line rules, in the one order in which every pass runs them.
std::span<const RuleEntry> lineRules();

// The steps that append subroutines after the last line, in the order they run.
std::span<const RuleEntry> appendedSteps();

}  // namespace aplpatch
