#include "rules/rule_table.h"

#include <string_view>

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
#include "rules/descent/altitude_lookahead.h"
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

#define FIELD(member) STATE_FIELD(member)

constexpr std::string_view kHoldingWait = "WHILE NOT INRANGE360(PLANE_HEADING,";

// This table is the only place that states the order of the rules.
constexpr RuleEntry kLineRules[] = {
    RULE(dropWaitAfterBriefing, anyLineWhile(isSet(FIELD(skipNextWait)))),
    RULE(dropBriefingCall,
        onText("BRIEF", "VBRIE", "GNDBR", "TAXBR", "FC_APPLAUSE", "FC_CRY", "FC_GONG")
            .andOnlyWhile(isSet(FIELD(crewless)))),
    RULE(emptyBriefingCheck, onText("BRIEFINGCHECK:").andOnlyWhile(isSet(FIELD(crewless)))),
    RULE(captureCenterLine, anyLineWhile(isEqual(FIELD(centerCapture), CenterCapture::capturing))),
    RULE(startCenterCapture, onText("CENTER_")),
    RULE(keepDepartureKey, onText("GOSUB DEPARTURE")),
    RULE(armCenterReplay, onText("GOWAITVORX:").andOnlyWhile(isAbove(FIELD(centerCount), 0))),
    RULE(addWaitVorMissedEntry, onText("WAIT_VOR").orAnyLineWhile(isNot(FIELD(waitVorEntry), WaitVorEntry::none))),
    RULE(writeCenterSubroutine,
        onText("GOTO WAIT_VOR").andOnlyWhile(isEqual(FIELD(centerCapture), CenterCapture::armed))),
    RULE(upcaseLine),
    RULE(noteChecklistDeclaration, onText("DECLARE VCHECKLISTS")),
    RULE(blankRunwayDescription, onText("DESCRIPTION")),
    RULE(captureTargetAltitude, onText("IF VALT =").andOnlyWhile(isEmpty(&RewriteState::capturedValt))),
    RULE(writePatchDescription, onPass(3)),
    RULE(insertPatchNotice,
        onText("UM EINE UEBERSICHT", "TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT")
            .andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::welcome))),
    RULE(insertReturnBeforeHoldfixC,
        onText("HOLDFIX_C").andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::holdingStart))),
    RULE(insertReturnBeforeHoldfixBc,
        onText("HOLDFIX_BC").andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::holdingTurn))),
    RULE(editPushbackBody, onText("RETURN", "WAIT 1").andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::pushback))),
    RULE(awaitGroundContact,
        onText("ENDWHILE", "WHILE KEY !=").andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::groundFrequencyWait))),
    RULE(captureTopOfDescentLine, anyLineWhile(isEqual(FIELD(openBlock), OpenBlock::topOfDescent))),
    RULE(openHoldingStart, onText("FC_N027")),
    RULE(openHoldingTurn, onText("FC_N023")),
    RULE(openWelcomeNotice, onText("WELCOME:")),
    RULE(openPushbackBody, onText("EXECUTE_PUSHPACK:")),
    RULE(insertDeclarations, onText("DECLARE").orAnyLineWhile(isEqual(FIELD(declarations), Declarations::inside))),
    RULE(markDeparture, onText("DEPARTURE:")),
    RULE(guardChecklists, onText("CHECK_LISTS:").andOnlyWhile(isSet(FIELD(hasChecklists)))),
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
    RULE(guardTowerWaitContact,
        onText("WHILE VCONTACTED = 0").andOnlyWhile(isSet(FIELD(inAppTowerWait)))),
    RULE(captureSoundRoot, onText("PLAY\"").andOnlyWhile(isEmpty(&RewriteState::soundRoot))),
    RULE(holdBeforeLineUp, onText("LINE_UP:")),
    RULE(redirectLineUpKey, onText("LINE_UP")),
    RULE(superviseTakeoff, onText("WHILE ON_GROUND\n")),
    RULE(skipCenterResponseWhenMissed, onText("GOSUB CENTER_RESPOND")),
    RULE(skipApproachContactWhenMissed, onText("GOSUB CONTACT_APP")),
    RULE(insertSquawkChange, onText("RETURN").andOnlyWhile(isSet(FIELD(inCenterRespond)))),
    RULE(noteCenterResponse, onText("CENTER_RESPOND:")),
    RULE(noteTransponderSetting, onText("TRANS_FREQ =")),
    RULE(reworkGroundDistanceLoopBody,
        onText("ENDWHILE", "VTIMER = ELAPSED_TIME", "IF ELAPSED_TIME > VTIMER +")
            .andOnlyWhile(isNot(FIELD(groundDistanceLoop), GroundDistanceLoop::outside))),
    RULE(openGroundDistanceLoop, onText("WHILE VGROUNDDIST > 3\n")),
    RULE(followAltitudeCheckCall, onText("GOSUB CHECK_ALTITUDE")),
    RULE(removeSpeedCheckCall, onText("GOSUB SPEED_CHECK")),
    RULE(detectMessageLanguage, onText("SQUAWK", "TRANSPONDER CODE")),
    RULE(superviseTaxiStart, onText("CHECK_IF_MOOVING:")),
    RULE(resetTaxiTimerAroundPushback, onText("GOSUB EXECUTE_PUSHPACK")),
    RULE(resetTaxiTimerBeforeTaxiSounds, onText("B4TAXI")),
    RULE(followHeadingFix,
        onText("FIX_HDG", "FIX_BC", "HOLDFIX_", "AUTOPILOT_HEADING", "IF VCOPILOT = 1 THEN")),
    RULE(superviseRunwayAlignment, onText("CHECK_RWY_ALIGN:", "TAKEOFF:", "INRANGE360(")),
    RULE(noteAutopilotSubroutine, onText("AUTOPILOT:")),
    RULE(announceWind, onText("FC_N040")),
    RULE(superviseVacateRunway, onText("WAIT_FINAL_STOP:", "VCHECKLISTS = 7")),
    RULE(shortcutToLocalizerWhenMissed, onText("WHILE (COM_FREQ != 122.00)")),
    RULE(followTrafficCall, onText("VOICE3\\FC_N016\"")),
    RULE(gatePlayCallVoices, onText("PLAYCALL:", "RETURN", "IF VVOICE =")),
    RULE(superviseHoldfixCLoop, onText("HOLDFIX_C", "GOSUB FIX_HDG", kHoldingWait)),
    RULE(superviseHoldfixBcLoop, onText("HOLDFIX_BC", "GOSUB FIX_BC", kHoldingWait)),
    RULE(requireWingsLevelForDeviation, onText("VDIF < -10")),
    RULE(superviseGroundDistanceLoop, onText("WHILE GROUND_DISTANCE")),
    RULE(countCrying, onText("FC_CRY")),
    RULE(guardApplause, onText("FC_APPLAUSE")),
    RULE(callBeforeSpeedWarning, onText("IF VELOCITY_INDICATED > VSPD + 10 THEN")),
    RULE(countFifthChecklist, onText("VCHECKLISTS = 5")),
    RULE(offerSpeedLimitAlternative, onText("VSPD = 5000")),
    RULE(writeAltitudeCheckBody, onText("CHECK_ALTITUDE:")),
    RULE(addAltitudeCheckToRadialCheck,
        onText("GOSUB RADIAL_CHECK", "CHECK_ALTITUDE", "ENDWHILE")
            .andOnlyWhile(isEqual(FIELD(radialCheckWatch), RadialCheckWatch::armed))),
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
#undef FIELD

}  // namespace aplpatch
