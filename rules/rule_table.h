#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "rules/features.h"
#include "rules/rewrite_state.h"
#include "rules/rule_pass.h"

namespace aplpatch {

// The line rules, in the one order in which every pass runs them, every feature on.
std::span<const RuleEntry> lineRules();

// The steps that append subroutines after the last line, in the order they run. They do not depend
// on the switches: a subroutine that nothing calls is harmless, a missing one breaks the compile.
std::span<const RuleEntry> appendedSteps();

// The line rules for `switches`: those of the features that are off are left out, or replaced in
// their places by stand-ins that keep what the other rules rely on. All on, as lineRules().
std::vector<RuleEntry> lineRulesFor(const FeatureSwitches& switches);

// The feature that the line rule named `name` belongs to; none for a rule that always runs (or a
// name that is not in the table). The run's log names it when a rule's read-on lost labels.
std::optional<Feature> featureOfRule(std::string_view name);

// The state a rewrite with `switches` starts from: the choices that change the texts of rules that
// stay (the ground supervisions without clearance withdrawals, the welcome hint without the descent
// request, the approach loops without the forced missed approach).
RewriteState startStateFor(const FeatureSwitches& switches);

}  // namespace aplpatch
