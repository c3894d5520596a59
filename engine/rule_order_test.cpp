#include "engine/rule_order.h"

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

TEST(RuleOrder, AltitudeLookaheadIsALineRule) {
  EXPECT_GE(positionOf(lineRules(), "guardAltitudeAssignment"), 0);
}

}  // namespace
}  // namespace aplpatch
