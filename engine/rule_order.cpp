#include "engine/rule_order.h"

#include <string_view>
#include <tuple>

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

#define RULE(function, ...) RuleEntry{#function, function __VA_OPT__(, ) __VA_ARGS__}

namespace {

using State = RewriteState;

// A rule that can act only on a line holding one of `texts`.
template <typename... Texts>
constexpr Trigger onText(Texts... texts) {
  static_assert(sizeof...(texts) <= std::tuple_size_v<decltype(Trigger::texts)>);
  return Trigger{{std::string_view(texts)...}, nullptr};
}

// A rule that can act on any line while `gate` holds, and otherwise only on a line holding one of
// `texts`.
template <typename... Texts>
constexpr Trigger whileState(StateGate gate, Texts... texts) {
  Trigger trigger = onText(texts...);
  trigger.gate = gate;
  return trigger;
}

// This table is the only place that states the order of the rules.
constexpr RuleEntry kLineRules[] = {
    RULE(dropWaitAfterBriefing,
        whileState([](const State& s) { return s.crewMode && s.skipNextWait; })),
    RULE(dropBriefingCall, onText("PLAY")),
    RULE(emptyBriefingCheck, onText("BRIEFINGCHECK:")),
    RULE(captureCenterLine, whileState([](const State& s) { return s.centerCapture > 0; })),
    RULE(startCenterCapture, onText("CENTER_")),
    RULE(keepDepartureKey, onText("GOSUB DEPARTURE")),
    RULE(armCenterReplay, onText("GOWAITVORX:")),
    RULE(addWaitVorMissedEntry,
        whileState([](const State& s) { return s.waitVorState != 0; }, "WAIT_VOR")),
    RULE(writeCenterSubroutine, onText("GOTO WAIT_VOR")),
    RULE(upcaseLine),
    RULE(noteChecklistDeclaration, onText("DECLARE VCHECKLISTS")),
    RULE(blankRunwayDescription, onText("RWY")),
    RULE(captureTargetAltitude, onText("IF VALT =")),
    RULE(writePatchDescription, whileState([](const State& s) { return s.lineNo == 3; })),
    RULE(insertPatchNotice,
        onText("UM EINE UEBERSICHT", "TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT")),
    RULE(insertReturnBeforeHoldfixC, onText("HOLDFIX_C")),
    RULE(insertReturnBeforeHoldfixBc, onText("HOLDFIX_BC")),
    RULE(editPushbackBody, whileState([](const State& s) { return s.inPushback != 0; })),
    RULE(awaitGroundContact, whileState([](const State& s) { return s.inGroundFreqWait != 0; })),
    RULE(captureTopOfDescentLine, whileState([](const State& s) { return s.todCapture > 0; })),
    RULE(openHoldingStart, onText("FC_N027")),
    RULE(openHoldingTurn, onText("FC_N023")),
    RULE(openWelcomeNotice, onText("WELCOME:")),
    RULE(openPushbackBody, onText("EXECUTE_PUSHPACK:")),
    RULE(insertDeclarations,
        whileState([](const State& s) { return s.declState == 1; }, "DECLARE")),
    RULE(markDeparture, onText("DEPARTURE:")),
    RULE(guardChecklists, onText("CHECK_LISTS:")),
    RULE(startTopOfDescentCapture, onText("SET_TOD_ALT:")),
    RULE(rebindExtraKeyToDescentRequest, onText("GOSUB CHECK_XKEY")),
    RULE(guardAltitudeAssignment, onText("VALT = ")),
    RULE(turnRadialIntoHeading, onText("VRAD = VRAD\n")),
    RULE(guardAutopilotAltitude, onText("AUTOPILOT_ALTITUDE =")),
    RULE(shortenEnglishHoldingText, onText("STANDING PROCEDURE TURN")),
    RULE(shortenGermanHoldingText, onText("WARTESCHLEIFE")),
    RULE(redirectTerminalJump, onText("GOTO TERMINAL")),
    RULE(openGroundFrequencyWait, onText("WAITGROUNDFREQ:")),
    RULE(openGearGuard, onText("ATOGEARUP:")),
    RULE(closeGearGuard, onText("ATOFLAPSALLUP:")),
    RULE(bindMissedApproachKey, onText("WHILE ON_GROUND = 0")),
    RULE(guardSpeedLoopsWithMissedKey, onText("WHILE VELOCITY > 30", "WHILE VELOCITY > 50")),
    RULE(guardTowerWaitFrequency,
        onText("WAIT_APP_TOWER:", "FINAL:", "WHILE (COM_FREQ != 120.00)")),
    RULE(writeMissedApproachEntry, onText("FC_N043")),
    RULE(guardTowerWaitContact, onText("WHILE VCONTACTED = 0")),
    RULE(captureSoundRoot, onText("PLAY\"")),
    RULE(holdBeforeLineUp, onText("LINE_UP:")),
    RULE(redirectLineUpKey, onText("LINE_UP")),
    RULE(superviseTakeoff, onText("WHILE ON_GROUND\n")),
    RULE(skipCenterResponseWhenMissed, onText("GOSUB CENTER_RESPOND")),
    RULE(skipApproachContactWhenMissed, onText("GOSUB CONTACT_APP")),
    RULE(insertSquawkChange, whileState([](const State& s) { return s.inCenterRespond == 1; })),
    RULE(noteCenterResponse, onText("CENTER_RESPOND:")),
    RULE(noteTransponderSetting, onText("TRANS_FREQ =")),
    RULE(reworkGroundDistanceLoopBody,
        whileState([](const State& s) { return s.modulesLoopState != 0; })),
    RULE(openGroundDistanceLoop, onText("WHILE VGROUNDDIST > 3\n")),
    RULE(followAltitudeCheckCall, onText("GOSUB CHECK_ALTITUDE")),
    RULE(removeSpeedCheckCall, onText("GOSUB SPEED_CHECK")),
    RULE(detectMessageLanguage, onText("SQUAWK", "TRANSPONDER CODE")),
    RULE(superviseTaxiStart, onText("CHECK_IF_MOOVING:")),
    RULE(resetTaxiTimerAroundPushback, onText("GOSUB EXECUTE_PUSHPACK")),
    RULE(resetTaxiTimerBeforeTaxiSounds, onText("B4TAXI")),
    RULE(followHeadingFix,
        whileState([](const State& s) { return s.headingFixState != 0; }, "FIX_")),
    RULE(superviseRunwayAlignment,
        whileState([](const State& s) { return s.inRunwayAlign == 1; }, "CHECK_RWY_ALIGN:")),
    RULE(noteAutopilotSubroutine, onText("AUTOPILOT:")),
    RULE(announceWind, onText("FC_N040")),
    RULE(superviseVacateRunway, onText("WAIT_FINAL_STOP:", "VCHECKLISTS = 7")),
    RULE(shortcutToLocalizerWhenMissed, onText("WHILE (COM_FREQ != 122.00)")),
    RULE(followTrafficCall, onText("VOICE3\\FC_N016\"")),
    RULE(gatePlayCallVoices,
        whileState([](const State& s) { return s.inPlayCall == 1; }, "PLAYCALL:")),
    RULE(superviseHoldfixCLoop,
        whileState([](const State& s) { return s.inHoldfixC != 0; }, "HOLDFIX_C")),
    RULE(superviseHoldfixBcLoop,
        whileState([](const State& s) { return s.inHoldfixBc != 0; }, "HOLDFIX_BC")),
    RULE(requireWingsLevelForDeviation, onText("VDIF < -10")),
    RULE(superviseGroundDistanceLoop, onText("WHILE GROUND_DISTANCE")),
    RULE(countCrying, onText("FC_CRY")),
    RULE(guardApplause, onText("FC_APPLAUSE")),
    RULE(callBeforeSpeedWarning, onText("IF VELOCITY_INDICATED > VSPD + 10 THEN")),
    RULE(countFifthChecklist, onText("VCHECKLISTS = 5")),
    RULE(offerSpeedLimitAlternative, onText("VSPD = 5000")),
    RULE(writeAltitudeCheckBody, onText("CHECK_ALTITUDE:")),
    RULE(addAltitudeCheckToRadialCheck,
        whileState([](const State& s) { return s.radialCheckState == 1; })),
    RULE(setFramePerformance, onText("PERFORMANCE DEFAULT")),
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
