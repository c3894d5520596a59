#include "rules/rule_table.h"

#include <array>
#include <cstddef>
#include <iterator>


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

// A line rule and the feature it belongs to. A rule of no feature always runs. When its feature is
// off, a rule is left out of the table, or, where the rules that stay rely on part of what it does
// (the block it closes, the line it takes out of the pass, the watch it arms, the lines it reads
// and replaces, which no other rule may see), replaced in its place by a stand-in with the same
// trigger that does only that part.
struct SwitchedRule {
  RuleEntry rule;
  std::optional<Feature> feature{};
  RuleFunction standIn = nullptr;
  const char* standInName = nullptr;
};

#define ALWAYS(function, ...) SwitchedRule{RULE(function, __VA_ARGS__)}
#define SWITCHED(feature, function, ...) SwitchedRule{RULE(function, __VA_ARGS__), Feature::feature}
#define SWITCHED_OR(feature, function, standIn, ...) \
  SwitchedRule{RULE(function, __VA_ARGS__), Feature::feature, standIn, #standIn}
#define FIELD(member) STATE_FIELD(RewriteState, member)

// This table is the only place that states the order of the rules.
constexpr SwitchedRule kSwitchedLineRules[] = {
    ALWAYS(dropWaitAfterBriefing, anyLineWhile(isSet(FIELD(skipNextWait)))),
    ALWAYS(dropBriefingCall, onTexts(kBriefingSoundKeys).andOnlyWhile(isSet(FIELD(crewless)))),
    ALWAYS(emptyBriefingCheck, onText(kBriefingCheckLabel).andOnlyWhile(isSet(FIELD(crewless)))),
    SWITCHED(approachTracking, captureCenterLine,
             anyLineWhile(isEqual(FIELD(centerCapture), CenterCapture::capturing))),
    SWITCHED(approachTracking, startCenterCapture, onText(kCenterLabelStart)),
    ALWAYS(keepDepartureKey, onText(kDepartureCall)),
    SWITCHED(approachTracking, armCenterReplay,
             onText(kWaitVorXLabel).andOnlyWhile(isAbove(FIELD(centerCount), 0))),
    SWITCHED(approachTracking, addWaitVorMissedEntry,
             onText(kWaitVorLabelStart)
                 .orAnyLineWhile(isNot(FIELD(waitVorEntry), WaitVorEntry::none))),
    SWITCHED(approachTracking, writeCenterSubroutine,
             onText(kWaitVorJump)
                 .andOnlyWhile(isEqual(FIELD(centerCapture), CenterCapture::armed))),
    ALWAYS(upcaseLine),
    ALWAYS(noteChecklistDeclaration, onText(kChecklistDeclaration)),
    ALWAYS(blankRunwayDescription, onText(kDescriptionKeyword)),
    ALWAYS(captureTargetAltitude,
           onText(kTargetAltitudeTest).andOnlyWhile(isEmpty(&RewriteState::capturedValt))),
    ALWAYS(writePatchDescription, onPass(kPatchDescriptionPass)),
    ALWAYS(insertPatchNotice, onText(kGermanKeyHint, kEnglishKeyHint)
                                  .andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::welcome))),
    ALWAYS(insertReturnBeforeHoldfixC,
           onText(kHoldfixCLabel).andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::holdingStart))),
    ALWAYS(insertReturnBeforeHoldfixBc,
           onText(kHoldfixBcLabel).andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::holdingTurn))),
    SWITCHED(groundSupervision, editPushbackBody,
             onText(kPushbackEnd, kPushbackWait)
                 .andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::pushback))),
    SWITCHED(groundSupervision, awaitGroundContact,
             onText(kGroundWaitLoopEnd, kGroundKeyWait)
                 .andOnlyWhile(isEqual(FIELD(openBlock), OpenBlock::groundFrequencyWait))),
    SWITCHED(descentRequest, captureTopOfDescentLine,
             anyLineWhile(isEqual(FIELD(openBlock), OpenBlock::topOfDescent))),
    ALWAYS(openHoldingStart, onText(kHoldingStartCall)),
    ALWAYS(openHoldingTurn, onText(kHoldingTurnCall)),
    ALWAYS(openWelcomeNotice, onText(kWelcomeLabel)),
    SWITCHED_OR(groundSupervision, openPushbackBody, endOpenBlockAtPushbackLabel,
                onText(kPushbackLabel)),
    ALWAYS(insertDeclarations,
           onText(kDeclareKeyword)
               .orAnyLineWhile(isEqual(FIELD(declarations), Declarations::inside))),
    SWITCHED(descentRequest, markDeparture, onText(kDepartureLabel)),
    ALWAYS(guardChecklists, onText(kChecklistLabel).andOnlyWhile(isSet(FIELD(hasChecklists)))),
    SWITCHED_OR(descentRequest, startTopOfDescentCapture, endOpenBlockAtTopOfDescent,
                onText(kTopOfDescentLabel)),
    SWITCHED(descentRequest, rebindExtraKeyToDescentRequest, onText(kExtraKeyCall)),
    SWITCHED_OR(descentRequest, guardAltitudeAssignment, passAltitudeAssignmentUnguarded,
                onText(kAltitudeAssignment)),
    SWITCHED(approachTracking, turnRadialIntoHeading, onText(kRadialSelfAssignment)),
    SWITCHED(descentRequest, guardAutopilotAltitude, onText(kAutopilotAltitudeAssignment)),
    SWITCHED(holdingSupervision, shortenEnglishHoldingText, onText(kEnglishHoldingText)),
    SWITCHED(holdingSupervision, shortenGermanHoldingText, onText(kGermanHoldingText)),
    ALWAYS(redirectTerminalJump, onText(kTerminalJump)),
    SWITCHED_OR(groundSupervision, openGroundFrequencyWait, endOpenBlockAtGroundFrequencyLabel,
                onText(kGroundFrequencyLabel)),
    ALWAYS(openGearGuard, onText(kGearUpLabel)),
    ALWAYS(closeGearGuard, onText(kFlapsUpLabel)),
    SWITCHED_OR(missedApproach, bindMissedApproachKey, keepTouchdownWait, onText(kTouchdownWait)),
    SWITCHED(missedApproach, guardSpeedLoopsWithMissedKey, onTexts(kSpeedLoops)),
    SWITCHED(missedApproach, guardTowerWaitFrequency,
             onText(kTowerWaitLabel, kFinalLabel, kTowerFrequencyWait)),
    SWITCHED(missedApproach, writeMissedApproachEntry, onText(kMissedApproachCall)),
    SWITCHED(missedApproach, guardTowerWaitContact,
             onText(kContactWait).andOnlyWhile(isSet(FIELD(inAppTowerWait)))),
    ALWAYS(captureSoundRoot, onText(kPlayStart).andOnlyWhile(isEmpty(&RewriteState::soundRoot))),
    SWITCHED(groundSupervision, holdBeforeLineUp, onText(kLineUpLabel)),
    SWITCHED(groundSupervision, redirectLineUpKey, onText(kLineUpCall)),
    SWITCHED_OR(groundSupervision, superviseTakeoff, keepTakeoffWait, onText(kTakeoffWait)),
    SWITCHED(missedApproach, skipCenterResponseWhenMissed, onText(kCenterResponseCall)),
    SWITCHED(missedApproach, skipApproachContactWhenMissed, onText(kApproachContactCall)),
    SWITCHED(transponderChanges, insertSquawkChange,
             onText(kCenterResponseEnd).andOnlyWhile(isSet(FIELD(inCenterRespond)))),
    SWITCHED(transponderChanges, noteCenterResponse, onText(kCenterResponseLabel)),
    ALWAYS(noteTransponderSetting, onText(kTransponderSetting)),
    SWITCHED(approachTracking, reworkGroundDistanceLoopBody,
             onText(kGroundDistanceLoopEnd, kTimerRestart, kTimedBranch)
                 .andOnlyWhile(isNot(FIELD(groundDistanceLoop), GroundDistanceLoop::outside))),
    SWITCHED_OR(approachTracking, openGroundDistanceLoop, armRadialCheckWatch,
                onText(kGroundDistanceLoop)),
    SWITCHED(altitudeReminders, followAltitudeCheckCall, onText(kAltitudeCheckCall)),
    SWITCHED(approachTracking, removeSpeedCheckCall, onText(kSpeedCheckCall)),
    ALWAYS(detectMessageLanguage, onText(kEnglishTransponderText, kGermanTransponderText)),
    SWITCHED(groundSupervision, superviseTaxiStart, onText(kCheckIfMovingLabel)),
    SWITCHED(groundSupervision, resetTaxiTimerAroundPushback, onText(kPushbackCall)),
    SWITCHED(groundSupervision, resetTaxiTimerBeforeTaxiSounds, onTexts(kPreTaxiSounds)),
    SWITCHED_OR(approachTracking, followHeadingFix, keepHeadingFixTurn,
                onText(kFixHdgLabel, kFixBcLabel, kHoldfixLabelStart, kAutopilotHeading,
                       kCopilotTest)),
    SWITCHED_OR(groundSupervision, superviseRunwayAlignment, keepRunwayAlignmentWait,
                onText(kRunwayAlignLabel, kTakeoffLabel, kHeadingWaits[0], kHeadingWaits[1])),
    ALWAYS(noteAutopilotSubroutine, onText(kAutopilotLabel)),
    SWITCHED_OR(windAnnouncements, announceWind, keepWindCall, onText(kWindCall)),
    SWITCHED_OR(groundSupervision, superviseVacateRunway, keepFinalStopWait,
                onText(kFinalStopLabel, kSeventhChecklist)),
    SWITCHED(missedApproach, shortcutToLocalizerWhenMissed, onText(kLocalizerFrequencyWait)),
    SWITCHED_OR(radioCalls, followTrafficCall, keepTrafficCallBranch, onText(kTrafficCall)),
    SWITCHED_OR(radioCalls, gatePlayCallVoices, keepPlayCallVoices,
                onText(kPlayCallLabel, kPlayCallEnd, kVoiceTest)),
    SWITCHED_OR(holdingSupervision, superviseHoldfixCLoop, keepHoldfixCLoop,
                onText(kHoldfixCLabel, kHoldfixCEntryCall, kHoldingWaitPhrase)),
    SWITCHED_OR(holdingSupervision, superviseHoldfixBcLoop, keepHoldfixBcLoop,
                onText(kHoldfixBcLabel, kHoldfixBcEntryCall, kHoldingWaitPhrase)),
    SWITCHED(holdingSupervision, requireWingsLevelForDeviation, onText(kDeviationTest)),
    SWITCHED(approachTracking, superviseGroundDistanceLoop, onText(kGroundDistanceWait)),
    SWITCHED(groundSupervision, countCrying, onText(kCryingSound)),
    SWITCHED(groundSupervision, guardApplause, onText(kApplauseSound)),
    SWITCHED(groundSupervision, callBeforeSpeedWarning, onText(kSpeedWarningTest)),
    ALWAYS(countFifthChecklist, onText(kFifthChecklist)),
    SWITCHED(groundSupervision, offerSpeedLimitAlternative, onText(kSpeedLimit)),
    SWITCHED(altitudeReminders, writeAltitudeCheckBody, onText(kAltitudeCheckLabel)),
    SWITCHED(altitudeReminders, addAltitudeCheckToRadialCheck,
             onText(kRadialCheckCall, kAltitudeCheckName, kRadialWatchLoopEnd)
                 .andOnlyWhile(isEqual(FIELD(radialCheckWatch), RadialCheckWatch::armed))),
    ALWAYS(setFramePerformance, onText(kDefaultPerformance)),
};

// The rules alone, in their order: the table that runs with every feature on.
template <std::size_t N>
constexpr std::array<RuleEntry, N> rulesOf(const SwitchedRule (&rows)[N]) {
  std::array<RuleEntry, N> rules{};
  for (std::size_t i = 0; i < N; ++i) rules[i] = rows[i].rule;
  return rules;
}

constexpr auto kLineRules = rulesOf(kSwitchedLineRules);

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

std::vector<RuleEntry> lineRulesFor(const FeatureSwitches& switches) {
  std::vector<RuleEntry> rules;
  rules.reserve(std::size(kSwitchedLineRules));
  for (const SwitchedRule& row : kSwitchedLineRules) {
    if (!row.feature || switches.isOn(*row.feature)) {
      rules.push_back(row.rule);
    } else if (row.standIn != nullptr) {
      rules.push_back(RuleEntry{row.standInName, row.standIn, row.rule.trigger});
    }
  }
  return rules;
}

RewriteState startStateFor(const FeatureSwitches& switches) {
  RewriteState state;
  state.withdrawClearances = switches.isOn(Feature::groundSupervision) &&
                             switches.isOn(Feature::clearanceWithdrawal);
  state.hintAtDescentRequest = switches.isOn(Feature::descentRequest);
  state.forcedMissedApproach = switches.isOn(Feature::missedApproach);
  return state;
}

#undef ALWAYS
#undef SWITCHED
#undef SWITCHED_OR
#undef RULE
#undef FIELD

}  // namespace aplpatch
