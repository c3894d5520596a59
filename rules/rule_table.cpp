#include "rules/rule_table.h"

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

// This table is the only place that states the order of the rules.
constexpr RuleEntry kLineRules[] = {
    RULE(dropWaitAfterBriefing, anyLineWhile(isSet(FIELD(skipNextWait)))),
    RULE(dropBriefingCall, onTexts(kBriefingSoundKeys).andOnlyWhile(isSet(FIELD(crewless)))),
    RULE(emptyBriefingCheck, onText(kBriefingCheckLabel).andOnlyWhile(isSet(FIELD(crewless)))),
    RULE(captureCenterLine, anyLineWhile(isEqual(FIELD(centerCapture), CenterCapture::capturing))),
    RULE(startCenterCapture, onText(kCenterLabelStart)),
    RULE(keepDepartureKey, onText(kDepartureCall)),
    RULE(armCenterReplay, onText(kWaitVorXLabel).andOnlyWhile(isAbove(FIELD(centerCount), 0))),
    RULE(addWaitVorMissedEntry,
        onText(kWaitVorLabelStart).orAnyLineWhile(isNot(FIELD(waitVorEntry), WaitVorEntry::none))),
    RULE(writeCenterSubroutine,
        onText(kWaitVorJump).andOnlyWhile(isEqual(FIELD(centerCapture), CenterCapture::armed))),
    RULE(upcaseLine),
    RULE(noteChecklistDeclaration, onText(kChecklistDeclaration)),
    RULE(blankRunwayDescription, onText(kDescriptionKeyword)),
    RULE(captureTargetAltitude,
        onText(kTargetAltitudeTest).andOnlyWhile(isEmpty(&RewriteState::capturedValt))),
    RULE(writePatchDescription, onPass(kPatchDescriptionPass)),
    RULE(insertPatchNotice, onText(kGermanKeyHint, kEnglishKeyHint)
                                .andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::welcome))),
    RULE(insertReturnBeforeHoldfixC,
        onText(kHoldfixCLabel).andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::holdingStart))),
    RULE(insertReturnBeforeHoldfixBc,
        onText(kHoldfixBcLabel).andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::holdingTurn))),
    RULE(editPushbackBody, onText(kPushbackEnd, kPushbackWait)
                               .andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::pushback))),
    RULE(awaitGroundContact,
        onText(kGroundWaitLoopEnd, kGroundKeyWait)
            .andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::groundFrequencyWait))),
    RULE(captureTopOfDescentLine, anyLineWhile(isEqual(FIELD(openBlock), OpenBlock::topOfDescent))),
    RULE(openHoldingStart, onText(kHoldingStartCall)),
    RULE(openHoldingTurn, onText(kHoldingTurnCall)),
    RULE(openWelcomeNotice, onText(kWelcomeLabel)),
    RULE(openPushbackBody, onText(kPushbackLabel)),
    RULE(insertDeclarations,
        onText(kDeclareKeyword).orAnyLineWhile(isEqual(FIELD(declarations), Declarations::inside))),
    RULE(markDeparture, onText(kDepartureLabel)),
    RULE(guardChecklists, onText(kChecklistLabel).andOnlyWhile(isSet(FIELD(hasChecklists)))),
    RULE(startTopOfDescentCapture, onText(kTopOfDescentLabel)),
    RULE(rebindExtraKeyToDescentRequest, onText(kExtraKeyCall)),
    RULE(guardAltitudeAssignment, onText(kAltitudeAssignment)),
    RULE(turnRadialIntoHeading, onText(kRadialSelfAssignment)),
    RULE(guardAutopilotAltitude, onText(kAutopilotAltitudeAssignment)),
    RULE(shortenEnglishHoldingText, onText(kEnglishHoldingText)),
    RULE(shortenGermanHoldingText, onText(kGermanHoldingText)),
    RULE(redirectTerminalJump, onText(kTerminalJump)),
    RULE(openGroundFrequencyWait, onText(kGroundFrequencyLabel)),
    RULE(openGearGuard, onText(kGearUpLabel)),
    RULE(closeGearGuard, onText(kFlapsUpLabel)),
    RULE(bindMissedApproachKey, onText(kTouchdownWait)),
    RULE(guardSpeedLoopsWithMissedKey, onTexts(kSpeedLoops)),
    RULE(guardTowerWaitFrequency, onText(kTowerWaitLabel, kFinalLabel, kTowerFrequencyWait)),
    RULE(writeMissedApproachEntry, onText(kMissedApproachCall)),
    RULE(guardTowerWaitContact, onText(kContactWait).andOnlyWhile(isSet(FIELD(inAppTowerWait)))),
    RULE(captureSoundRoot, onText(kPlayStart).andOnlyWhile(isEmpty(&RewriteState::soundRoot))),
    RULE(holdBeforeLineUp, onText(kLineUpLabel)),
    RULE(redirectLineUpKey, onText(kLineUpCall)),
    RULE(superviseTakeoff, onText(kTakeoffWait)),
    RULE(skipCenterResponseWhenMissed, onText(kCenterResponseCall)),
    RULE(skipApproachContactWhenMissed, onText(kApproachContactCall)),
    RULE(insertSquawkChange, onText(kCenterResponseEnd).andOnlyWhile(isSet(FIELD(inCenterRespond)))),
    RULE(noteCenterResponse, onText(kCenterResponseLabel)),
    RULE(noteTransponderSetting, onText(kTransponderSetting)),
    RULE(reworkGroundDistanceLoopBody,
        onText(kGroundDistanceLoopEnd, kTimerRestart, kTimedBranch)
            .andOnlyWhile(isNot(FIELD(groundDistanceLoop), GroundDistanceLoop::outside))),
    RULE(openGroundDistanceLoop, onText(kGroundDistanceLoop)),
    RULE(followAltitudeCheckCall, onText(kAltitudeCheckCall)),
    RULE(removeSpeedCheckCall, onText(kSpeedCheckCall)),
    RULE(detectMessageLanguage, onText(kEnglishTransponderText, kGermanTransponderText)),
    RULE(superviseTaxiStart, onText(kCheckIfMovingLabel)),
    RULE(resetTaxiTimerAroundPushback, onText(kPushbackCall)),
    RULE(resetTaxiTimerBeforeTaxiSounds, onTexts(kPreTaxiSounds)),
    RULE(followHeadingFix,
        onText(kFixHdgLabel, kFixBcLabel, kHoldfixLabelStart, kAutopilotHeading, kCopilotTest)),
    RULE(superviseRunwayAlignment,
        onText(kRunwayAlignLabel, kTakeoffLabel, kHeadingWaits[0], kHeadingWaits[1])),
    RULE(noteAutopilotSubroutine, onText(kAutopilotLabel)),
    RULE(announceWind, onText(kWindCall)),
    RULE(superviseVacateRunway, onText(kFinalStopLabel, kSeventhChecklist)),
    RULE(shortcutToLocalizerWhenMissed, onText(kLocalizerFrequencyWait)),
    RULE(followTrafficCall, onText(kTrafficCall)),
    RULE(gatePlayCallVoices, onText(kPlayCallLabel, kPlayCallEnd, kVoiceTest)),
    RULE(superviseHoldfixCLoop, onText(kHoldfixCLabel, kHoldfixCEntryCall, kHoldingWaitPhrase)),
    RULE(superviseHoldfixBcLoop, onText(kHoldfixBcLabel, kHoldfixBcEntryCall, kHoldingWaitPhrase)),
    RULE(requireWingsLevelForDeviation, onText(kDeviationTest)),
    RULE(superviseGroundDistanceLoop, onText(kGroundDistanceWait)),
    RULE(countCrying, onText(kCryingSound)),
    RULE(guardApplause, onText(kApplauseSound)),
    RULE(callBeforeSpeedWarning, onText(kSpeedWarningTest)),
    RULE(countFifthChecklist, onText(kFifthChecklist)),
    RULE(offerSpeedLimitAlternative, onText(kSpeedLimit)),
    RULE(writeAltitudeCheckBody, onText(kAltitudeCheckLabel)),
    RULE(addAltitudeCheckToRadialCheck,
        onText(kRadialCheckCall, kAltitudeCheckName, kRadialWatchLoopEnd)
            .andOnlyWhile(isEqual(FIELD(radialCheckWatch), RadialCheckWatch::armed))),
    RULE(setFramePerformance, onText(kDefaultPerformance)),
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
