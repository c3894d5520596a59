#include "rules/briefing.h"

#include <gtest/gtest.h>

#include <string_view>

namespace aplpatch {
namespace {

TEST(Briefing, KeyCodesAreNamedAsAPilotReadsThem) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"88", "\"X\""},       {" 77 ", "\"M\""},  {"65", "\"A\""},    {"49", "\"1\""},
      {"112", "\"F1\""},     {"135", "\"F24\""}, {"32", "Space"},    {"186", "key code 186"},
      {"136", "key code 136"}, {"x", "\"x\""},   {"VK_F1", "KV(VK_F1)"}, {"1000", "KV(1000)"},
      {"", "KV()"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(keyName(code), name) << code;
}

// The goldens show whole briefings of real rewrites; this one shows the forms they may not reach:
// several keys for one use, a count of one beside others, a feature with nothing, one switched off.
TEST(Briefing, NamesEveryFeatureWithWhatItAddedOrOff) {
  RewriteReport report;
  report.switches.set(Feature::windAnnouncements, false);
  report.added.descentRequestKeys = {"88", "68"};
  report.added.supervisedApproachLoops = 1;
  report.added.interceptTurns = 2;
  report.added.taxiSupervisions = 1;
  EXPECT_EQ(flightBriefing(report),
            "Briefing for this flight:\n"
            "Keys: \"X\" or \"D\" requests the descent.\n"
            "descent-request: keys \"X\" or \"D\"\n"
            "transponder-changes: nothing in this script\n"
            "holding-supervision: nothing in this script\n"
            "approach-tracking: 2 intercept turns, 1 supervised approach loop\n"
            "ground-supervision: 1 supervision (taxi 1)\n"
            "clearance-withdrawal: nothing in this script\n"
            "missed-approach: nothing in this script\n"
            "altitude-reminders: nothing in this script\n"
            "wind-announcements: off\n"
            "radio-calls: nothing in this script\n");
}

}  // namespace
}  // namespace aplpatch
