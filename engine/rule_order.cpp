#include "engine/rule_order.h"

#include "engine/altitude_lookahead.h"
#include "rules/approach/center_block.h"
#include "rules/approach/centerx_subroutine.h"
#include "rules/descent/descent_request.h"
#include "rules/descent/req_descent_subroutine.h"
#include "rules/header/crew_mode.h"
#include "rules/header/patch_description.h"
#include "rules/radio/squawk_change.h"
#include "rules/radio/transponder_subroutines.h"

namespace aplpatch {

#define RULE(function) RuleEntry{#function, function}

namespace {

// This table is the only place that states the order of the rules.
constexpr RuleEntry kLineRules[] = {
    RULE(captureCenterLine),
    RULE(startCenterCapture),
    RULE(keepDepartureKey),
    RULE(armCenterReplay),
    RULE(addWaitVorMissedEntry),
    RULE(writeCenterSubroutine),
    RULE(upcaseLine),
    RULE(captureTargetAltitude),
    RULE(writePatchDescription),
    RULE(captureTopOfDescentLine),
    RULE(markDeparture),
    RULE(startTopOfDescentCapture),
    RULE(rebindExtraKeyToDescentRequest),
    RULE(guardAltitudeAssignment),
    RULE(guardAutopilotAltitude),
    RULE(insertSquawkChange),
    RULE(noteCenterResponse),
    RULE(noteTransponderSetting),
};

constexpr RuleEntry kAppendedSteps[] = {
    RULE(appendDescentRequest),
    RULE(appendTransponderSubroutines),
};

}  // namespace

std::span<const RuleEntry> lineRules() { return kLineRules; }

std::span<const RuleEntry> appendedSteps() { return kAppendedSteps; }

#undef RULE

}  // namespace aplpatch
