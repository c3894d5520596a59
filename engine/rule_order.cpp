#include "engine/rule_order.h"

#include "engine/altitude_lookahead.h"
#include "rules/descent/missed_approach_entry.h"
#include "rules/descent/missed_approach_flight.h"
#include "rules/descent/missed_approach_guards.h"
#include "rules/descent/missed_approach_key.h"
#include "rules/descent/missed_approach_subroutine.h"
#include "rules/ground/gear_guard.h"
#include "rules/ground/ground_frequency.h"
#include "rules/ground/line_up.h"
#include "rules/ground/pushback.h"
#include "rules/ground/runway_alignment.h"
#include "rules/ground/takeoff.h"
#include "rules/ground/taxi.h"
#include "rules/header/crew_mode.h"
#include "rules/header/patch_description.h"

namespace aplpatch {

#define RULE(function) RuleEntry{#function, function}

namespace {

// This table is the only place that states the order of the rules.
constexpr RuleEntry kLineRules[] = {
    RULE(upcaseLine),
    RULE(writePatchDescription),
    RULE(editPushbackBody),
    RULE(awaitGroundContact),
    RULE(openPushbackBody),
    RULE(guardAltitudeAssignment),
    RULE(redirectTerminalJump),
    RULE(openGroundFrequencyWait),
    RULE(openGearGuard),
    RULE(closeGearGuard),
    RULE(bindMissedApproachKey),
    RULE(guardSpeedLoopsWithMissedKey),
    RULE(guardTowerWaitFrequency),
    RULE(writeMissedApproachEntry),
    RULE(guardTowerWaitContact),
    RULE(holdBeforeLineUp),
    RULE(redirectLineUpKey),
    RULE(superviseTakeoff),
    RULE(skipCenterResponseWhenMissed),
    RULE(skipApproachContactWhenMissed),
    RULE(superviseTaxiStart),
    RULE(resetTaxiTimerAroundPushback),
    RULE(resetTaxiTimerBeforeTaxiSounds),
    RULE(superviseRunwayAlignment),
    RULE(shortcutToLocalizerWhenMissed),
};

constexpr RuleEntry kAppendedSteps[] = {
    RULE(appendMissedApproachKeySubroutine),
};

}  // namespace

std::span<const RuleEntry> lineRules() { return kLineRules; }

std::span<const RuleEntry> appendedSteps() { return kAppendedSteps; }

#undef RULE

}  // namespace aplpatch
