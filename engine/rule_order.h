#pragma once

#include <array>
#include <span>
#include <string_view>

#include "engine/pass.h"

namespace aplpatch {

using RuleFunction = void (*)(Pass&);
using StateGate = bool (*)(const RewriteState&);

// When a rule can act at all, so that the engine can pass over it on most lines: only on a line that
// contains one of `texts` (compared without regard to case), or while `gate` holds. A rule whose
// trigger names neither runs on every line. A trigger may name more than the rule needs, never less.
struct Trigger {
  std::array<std::string_view, 6> texts{};
  StateGate gate = nullptr;

  constexpr bool everyLine() const { return texts[0].empty() && gate == nullptr; }
};

struct RuleEntry {
  const char* name;  // the function's own name, for tests and diagnostics
  RuleFunction run;
  Trigger trigger{};
};

// The line rules, in the one order in which every pass runs them.
std::span<const RuleEntry> lineRules();

// The steps that append subroutines after the last line, in the order they run.
std::span<const RuleEntry> appendedSteps();

}  // namespace aplpatch
