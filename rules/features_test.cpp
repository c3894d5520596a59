#include "rules/features.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rule_table.h"

namespace aplpatch {
namespace {

TEST(FeatureTable, NamesAreDistinctSettingsWordsFoundInAnyCaseEachWithAOneLineExplanation) {
  std::set<std::string_view> names;
  for (const FeatureInfo& info : featureTable()) {
    EXPECT_TRUE(names.insert(info.name).second) << info.name << " is listed twice";
    EXPECT_EQ(info.name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string_view::npos);
    std::string capitals(info.name);
    for (char& c : capitals) c = static_cast<char>(c == '-' ? c : c - 'a' + 'A');
    EXPECT_EQ(findFeature(capitals), &info) << capitals;
    EXPECT_TRUE(!info.explanation.empty() && info.explanation.size() <= 100 &&
                info.explanation.find('\n') == std::string_view::npos) << info.name;
  }
  for (std::string_view unknown : {"", "wind", "wind-announcements ", "descent_request"}) {
    EXPECT_EQ(findFeature(unknown), nullptr) << unknown;
  }
}

// The rules each switch silences, and the stand-ins that take the places of some of them. Clearance
// withdrawal silences no rule: it changes the texts of the four ground supervisions that can end
// the adventure.
struct Silenced {
  Feature feature;
  std::set<std::string_view> rules;
  std::set<std::string_view> standIns;
};

const Silenced kSilenced[] = {
    {Feature::descentRequest,
     {"captureTopOfDescentLine", "markDeparture", "startTopOfDescentCapture",
      "rebindExtraKeyToDescentRequest", "guardAltitudeAssignment", "guardAutopilotAltitude"},
     {"endOpenBlockAtTopOfDescent", "passAltitudeAssignmentUnguarded"}},
    {Feature::transponderChanges, {"insertSquawkChange", "noteCenterResponse"}, {}},
    {Feature::holdingSupervision,
     {"shortenEnglishHoldingText", "shortenGermanHoldingText", "superviseHoldfixCLoop",
      "superviseHoldfixBcLoop", "requireWingsLevelForDeviation"},
     {"keepHoldfixCLoop", "keepHoldfixBcLoop"}},
    {Feature::approachTracking,
     {"captureCenterLine", "startCenterCapture", "armCenterReplay", "addWaitVorMissedEntry",
      "writeCenterSubroutine", "turnRadialIntoHeading", "reworkGroundDistanceLoopBody",
      "openGroundDistanceLoop", "removeSpeedCheckCall", "followHeadingFix",
      "superviseGroundDistanceLoop"},
     {"armRadialCheckWatch", "keepHeadingFixTurn"}},
    {Feature::groundSupervision,
     {"editPushbackBody", "awaitGroundContact", "openPushbackBody", "openGroundFrequencyWait",
      "holdBeforeLineUp", "redirectLineUpKey", "superviseTakeoff", "superviseTaxiStart",
      "resetTaxiTimerAroundPushback", "resetTaxiTimerBeforeTaxiSounds", "superviseRunwayAlignment",
      "superviseVacateRunway", "countCrying", "guardApplause", "callBeforeSpeedWarning",
      "offerSpeedLimitAlternative"},
     {"endOpenBlockAtPushbackLabel", "endOpenBlockAtGroundFrequencyLabel", "keepTakeoffWait",
      "keepRunwayAlignmentWait", "keepFinalStopWait"}},
    {Feature::clearanceWithdrawal, {}, {}},
    {Feature::missedApproach,
     {"bindMissedApproachKey", "guardSpeedLoopsWithMissedKey", "guardTowerWaitFrequency",
      "writeMissedApproachEntry", "guardTowerWaitContact", "skipCenterResponseWhenMissed",
      "skipApproachContactWhenMissed", "shortcutToLocalizerWhenMissed"},
     {"keepTouchdownWait"}},
    {Feature::altitudeReminders,
     {"followAltitudeCheckCall", "writeAltitudeCheckBody", "addAltitudeCheckToRadialCheck"}, {}},
    {Feature::windAnnouncements, {"announceWind"}, {"keepWindCall"}},
    {Feature::radioCalls, {"followTrafficCall", "gatePlayCallVoices"},
     {"keepTrafficCallBranch", "keepPlayCallVoices"}},
};

TEST(SwitchedRuleTable, EachSwitchSilencesItsRulesAndBringsInItsStandIns) {
  ASSERT_EQ(std::size(kSilenced), featureTable().size());
  for (const Silenced& silenced : kSilenced) {
    std::vector<std::string_view> expected;  // the standard table without the silenced rules
    for (const RuleEntry& rule : lineRules()) {
      const bool isSilenced = silenced.rules.contains(rule.name);
      if (!isSilenced) expected.push_back(rule.name);
    }
    FeatureSwitches switches;
    switches.set(silenced.feature, false);
    std::vector<std::string_view> kept;
    std::set<std::string_view> standIns;
    for (const RuleEntry& rule : lineRulesFor(switches)) {
      if (silenced.standIns.contains(rule.name)) {
        standIns.insert(rule.name);
      } else {
        kept.push_back(rule.name);
      }
    }
    EXPECT_EQ(kept, expected) << featureName(silenced.feature);
    EXPECT_EQ(standIns, silenced.standIns) << featureName(silenced.feature);
  }
}

}  // namespace
}  // namespace aplpatch
