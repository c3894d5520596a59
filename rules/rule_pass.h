#pragma once

// What every rule is written against: the engine's pass, rule entry and trigger, made for the state
// that the rules share.

#include "engine/pass.h"
#include "engine/rule_entry.h"
#include "rules/rewrite_state.h"

namespace aplpatch {

using Pass = BasicPass<RewriteState>;
using RuleFunction = BasicRuleFunction<RewriteState>;
using RuleEntry = BasicRuleEntry<RewriteState>;
using Trigger = BasicTrigger<RewriteState>;

}  // namespace aplpatch
