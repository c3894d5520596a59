#pragma once

// The engine that runs the rules, over the state they share. Made once, in rule_engine.cpp, for
// every user.

#include "engine/engine.h"
#include "rules/rule_pass.h"

namespace aplpatch {

extern template class BasicEngine<RewriteState>;
using Engine = BasicEngine<RewriteState>;

}  // namespace aplpatch
