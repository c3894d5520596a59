#include "engine/rule_order.h"

#include <array>

#include "engine/altitude_lookahead.h"
#include "rules/approach/autopilot_stub.h"
#include "rules/approach/ground_distance.h"
#include "rules/approach/heading_fix.h"
#include "rules/approach/holding_loops.h"
#include "rules/approach/holding_returns.h"
#include "rules/approach/holding_texts.h"
#include "rules/approach/radial_heading.h"
#include "rules/descent/altitude_check.h"
#include "rules/descent/velocity_subroutine.h"
#include "rules/header/crew_mode.h"
#include "rules/header/patch_description.h"

namespace aplpatch {

#define RULE(function) RuleEntry{#function, function}

namespace {

// This table is the only place that states the order of the rules.
constexpr RuleEntry kLineRules[] = {
    RULE(upcaseLine),
    RULE(writePatchDescription),
    RULE(insertReturnBeforeHoldfixC),
    RULE(insertReturnBeforeHoldfixBc),
    RULE(openHoldingStart),
    RULE(openHoldingTurn),
    RULE(guardAltitudeAssignment),
    RULE(turnRadialIntoHeading),
    RULE(shortenEnglishHoldingText),
    RULE(shortenGermanHoldingText),
    RULE(reworkGroundDistanceLoopBody),
    RULE(openGroundDistanceLoop),
    RULE(followAltitudeCheckCall),
    RULE(removeSpeedCheckCall),
    RULE(followHeadingFix),
    RULE(noteAutopilotSubroutine),
    RULE(superviseHoldfixCLoop),
    RULE(superviseHoldfixBcLoop),
    RULE(requireWingsLevelForDeviation),
    RULE(superviseGroundDistanceLoop),
    RULE(writeAltitudeCheckBody),
    RULE(addAltitudeCheckToRadialCheck),
};

constexpr RuleEntry kAppendedSteps[] = {
    RULE(appendAutopilotStub),
    RULE(appendVelocitySubroutine),
};

}  // namespace

std::span<const RuleEntry> lineRules() { return kLineRules; }

std::span<const RuleEntry> appendedSteps() { return kAppendedSteps; }

#undef RULE

}  // namespace aplpatch
