#include "engine/rule_order.h"

#include "engine/altitude_lookahead.h"
#include "rules/approach/autopilot_stub.h"
#include "rules/approach/center_block.h"
#include "rules/approach/centerx_subroutine.h"
#include "rules/approach/ground_distance.h"
#include "rules/approach/heading_fix.h"
#include "rules/approach/holding_loops.h"
#include "rules/approach/holding_returns.h"
#include "rules/approach/holding_texts.h"
#include "rules/approach/radial_heading.h"
#include "rules/descent/altitude_check.h"
#include "rules/descent/descent_request.h"
#include "rules/descent/missed_approach_entry.h"
#include "rules/descent/missed_approach_flight.h"
#include "rules/descent/missed_approach_guards.h"
#include "rules/descent/missed_approach_key.h"
#include "rules/descent/missed_approach_subroutine.h"
#include "rules/descent/req_descent_subroutine.h"
#include "rules/descent/velocity_subroutine.h"
#include "rules/ground/cabin_and_speed.h"
#include "rules/ground/gear_guard.h"
#include "rules/ground/ground_frequency.h"
#include "rules/ground/line_up.h"
#include "rules/ground/message_language.h"
#include "rules/ground/pushback.h"
#include "rules/ground/runway_alignment.h"
#include "rules/ground/takeoff.h"
#include "rules/ground/taxi.h"
#include "rules/ground/vacate_runway.h"
#include "rules/header/checklist_guard.h"
#include "rules/header/crew_mode.h"
#include "rules/header/declarations.h"
#include "rules/header/patch_description.h"
#include "rules/header/performance.h"
#include "rules/header/runway_description.h"
#include "rules/header/welcome_notice.h"
#include "rules/radio/radio_calls.h"
#include "rules/radio/sound_root.h"
#include "rules/radio/squawk_change.h"
#include "rules/radio/transponder_subroutines.h"
#include "rules/radio/wind_announcement.h"

namespace aplpatch {

#define RULE(function) RuleEntry{#function, function}

namespace {

// This table is the only place that states the order of the rules.
constexpr RuleEntry kLineRules[] = {
    RULE(dropWaitAfterBriefing),
    RULE(dropBriefingCall),
    RULE(emptyBriefingCheck),
    RULE(captureCenterLine),
    RULE(startCenterCapture),
    RULE(keepDepartureKey),
    RULE(armCenterReplay),
    RULE(addWaitVorMissedEntry),
    RULE(writeCenterSubroutine),
    RULE(upcaseLine),
    RULE(noteChecklistDeclaration),
    RULE(blankRunwayDescription),
    RULE(captureTargetAltitude),
    RULE(writePatchDescription),
    RULE(insertPatchNotice),
    RULE(insertReturnBeforeHoldfixC),
    RULE(insertReturnBeforeHoldfixBc),
    RULE(editPushbackBody),
    RULE(awaitGroundContact),
    RULE(captureTopOfDescentLine),
    RULE(openHoldingStart),
    RULE(openHoldingTurn),
    RULE(openWelcomeNotice),
    RULE(openPushbackBody),
    RULE(insertDeclarations),
    RULE(markDeparture),
    RULE(guardChecklists),
    RULE(startTopOfDescentCapture),
    RULE(rebindExtraKeyToDescentRequest),
    RULE(guardAltitudeAssignment),
    RULE(turnRadialIntoHeading),
    RULE(guardAutopilotAltitude),
    RULE(shortenEnglishHoldingText),
    RULE(shortenGermanHoldingText),
    RULE(redirectTerminalJump),
    RULE(openGroundFrequencyWait),
    RULE(openGearGuard),
    RULE(closeGearGuard),
    RULE(bindMissedApproachKey),
    RULE(guardSpeedLoopsWithMissedKey),
    RULE(guardTowerWaitFrequency),
    RULE(writeMissedApproachEntry),
    RULE(guardTowerWaitContact),
    RULE(captureSoundRoot),
    RULE(holdBeforeLineUp),
    RULE(redirectLineUpKey),
    RULE(superviseTakeoff),
    RULE(skipCenterResponseWhenMissed),
    RULE(skipApproachContactWhenMissed),
    RULE(insertSquawkChange),
    RULE(noteCenterResponse),
    RULE(noteTransponderSetting),
    RULE(reworkGroundDistanceLoopBody),
    RULE(openGroundDistanceLoop),
    RULE(followAltitudeCheckCall),
    RULE(removeSpeedCheckCall),
    RULE(detectMessageLanguage),
    RULE(superviseTaxiStart),
    RULE(resetTaxiTimerAroundPushback),
    RULE(resetTaxiTimerBeforeTaxiSounds),
    RULE(followHeadingFix),
    RULE(superviseRunwayAlignment),
    RULE(noteAutopilotSubroutine),
    RULE(announceWind),
    RULE(superviseVacateRunway),
    RULE(shortcutToLocalizerWhenMissed),
    RULE(followTrafficCall),
    RULE(gatePlayCallVoices),
    RULE(superviseHoldfixCLoop),
    RULE(superviseHoldfixBcLoop),
    RULE(requireWingsLevelForDeviation),
    RULE(superviseGroundDistanceLoop),
    RULE(countCrying),
    RULE(guardApplause),
    RULE(callBeforeSpeedWarning),
    RULE(countFifthChecklist),
    RULE(offerSpeedLimitAlternative),
    RULE(writeAltitudeCheckBody),
    RULE(addAltitudeCheckToRadialCheck),
    RULE(setFramePerformance),
};

constexpr RuleEntry kAppendedSteps[] = {
    RULE(appendAutopilotStub),
    RULE(appendDescentRequest),
    RULE(appendTransponderSubroutines),
    RULE(appendPlayWindSpeed),
    RULE(appendVelocitySubroutine),
    RULE(appendMissedApproachKeySubroutine),
};

}  // namespace

std::span<const RuleEntry> lineRules() { return kLineRules; }

std::span<const RuleEntry> appendedSteps() { return kAppendedSteps; }

#undef RULE

}  // namespace aplpatch
