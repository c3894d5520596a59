#include "rules/rule_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace aplpatch {
namespace {

int positionOf(std::span<const RuleEntry> table, const std::string& name) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (name == table[i].name) return static_cast<int>(i);
  }
  return -1;
}

TEST(RuleOrder, EveryEntryIsNamedAndRunsSomethingAndNoneIsListedTwice) {
  for (auto table : {lineRules(), appendedSteps()}) {
    std::set<std::string> names;
    for (const RuleEntry& entry : table) {
      ASSERT_NE(entry.name, nullptr);
      EXPECT_NE(entry.run, nullptr) << entry.name;
      EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " is listed twice";
    }
  }
}

TEST(RuleOrder, EightyLineRulesAndSixAppendedSteps) {
  EXPECT_EQ(lineRules().size(), 80u);
  EXPECT_EQ(appendedSteps().size(), 6u);
}

TEST(RuleOrder, FixedPointsOfTheOrder) {
  auto rules = lineRules();
  // The crew-mode filters come first and see lines as read; the upper-casing follows the centre block.
  EXPECT_EQ(positionOf(rules, "dropWaitAfterBriefing"), 0);
  EXPECT_EQ(positionOf(rules, "upcaseLine"), 9);
  // The look-ahead takes assignments out of the pass after the extra-key rebinding.
  EXPECT_EQ(positionOf(rules, "guardAltitudeAssignment"), 29);
  EXPECT_EQ(positionOf(rules, "rebindExtraKeyToDescentRequest"), 28);
  EXPECT_EQ(positionOf(rules, "setFramePerformance"), 79);
  // The missed-approach key subroutine is the last text of every output.
  EXPECT_EQ(positionOf(appendedSteps(), "appendAutopilotStub"), 0);
  EXPECT_EQ(positionOf(appendedSteps(), "appendMissedApproachKeySubroutine"), 5);
}

}  // namespace
}  // namespace aplpatch
