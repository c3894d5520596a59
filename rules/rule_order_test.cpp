#include "rules/rule_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "engine/rule_prefilter.h"

// The order of the rules matters where two rules can meet on one line or one rule takes a line out
// of the pass. These tests state those relations and why they hold, not the rules' places.

namespace aplpatch {
namespace {

std::size_t positionOf(std::span<const RuleEntry> table, std::string_view name) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (name == table[i].name) return i;
  }
  ADD_FAILURE() << name << " is not in the table";
  return table.size();
}

bool runsBefore(std::string_view first, std::string_view second) {
  return positionOf(lineRules(), first) < positionOf(lineRules(), second);
}

TEST(RuleTable, EveryEntryIsNamedAndRunsSomethingAndNoneIsListedTwice) {
  for (auto table : {lineRules(), appendedSteps()}) {
    std::set<std::string> names;
    for (const RuleEntry& entry : table) {
      ASSERT_NE(entry.name, nullptr);
      EXPECT_NE(entry.run, nullptr) << entry.name;
      EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " is listed twice";
    }
  }
  EXPECT_LE(lineRules().size(), LineScan::kMaxRules) << "the prefilter cannot hold the table";
}

// The rules that keep, test or write a line as it was read (the crew-mode filters, the centre block
// and the wait-for-VOR loop) come before the upper-casing; every other rule tests capitals and
// comes after it.
TEST(RuleOrder, UpperCasingSeparatesTheRulesThatSeeTheLineAsRead) {
  const std::set<std::string_view> asRead = {
      "dropWaitAfterBriefing", "dropBriefingCall", "emptyBriefingCheck",   "captureCenterLine",
      "startCenterCapture",    "keepDepartureKey", "armCenterReplay",      "addWaitVorMissedEntry",
      "writeCenterSubroutine"};
  for (const RuleEntry& rule : lineRules()) {
    if (std::string_view(rule.name) == "upcaseLine") continue;
    EXPECT_EQ(runsBefore(rule.name, "upcaseLine"), asRead.contains(rule.name)) << rule.name;
  }
}

// The look-ahead reads the line after an altitude assignment and ends the assignment's pass, so no
// later rule sees that line. The extra-key call is rebound before any assignment is guarded, and
// every rule that may act on any line (whatever it holds) runs before the look-ahead, so that its
// work is not skipped on an assignment line.
TEST(RuleOrder, NothingThatMustSeeAnAssignmentLineFollowsTheLookAhead) {
  EXPECT_TRUE(runsBefore("rebindExtraKeyToDescentRequest", "guardAltitudeAssignment"));
  EXPECT_TRUE(runsBefore("upcaseLine", "guardAltitudeAssignment"));
  for (const RuleEntry& rule : lineRules()) {
    const Trigger& trigger = rule.trigger;
    if (trigger.everyLine() || trigger.anyLineWhile.given() || trigger.onPass != 0) {
      EXPECT_TRUE(runsBefore(rule.name, "guardAltitudeAssignment")) << rule.name;
    }
  }
}

// A block's rules act from the line after the one that opens it: the rule that works inside a block
// runs before the rule that opens it, so the opening line is never taken for the block's first.
TEST(RuleOrder, RulesInsideABlockRunBeforeTheRuleThatOpensIt) {
  const std::pair<std::string_view, std::string_view> insideThenOpener[] = {
      {"dropWaitAfterBriefing", "dropBriefingCall"},
      {"captureCenterLine", "startCenterCapture"},
      {"insertPatchNotice", "openWelcomeNotice"},
      {"insertReturnBeforeHoldfixC", "openHoldingStart"},
      {"insertReturnBeforeHoldfixBc", "openHoldingTurn"},
      {"editPushbackBody", "openPushbackBody"},
      {"awaitGroundContact", "openGroundFrequencyWait"},
      {"captureTopOfDescentLine", "startTopOfDescentCapture"},
  };
  for (const auto& [inside, opener] : insideThenOpener) {
    EXPECT_TRUE(runsBefore(inside, opener)) << inside << " must run before " << opener;
  }
}

// The script's own autopilot subroutine, or the stub in its place, comes first among the appended
// subroutines; the missed-approach key subroutine is the last text of every output.
TEST(RuleOrder, AppendedStepsStartWithTheAutopilotStubAndEndWithTheMissedApproachKey) {
  const auto steps = appendedSteps();
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(std::string_view(steps.front().name), "appendAutopilotStub");
  EXPECT_EQ(std::string_view(steps.back().name), "appendMissedApproachKeySubroutine");
}

}  // namespace
}  // namespace aplpatch
