#include "driver/settings_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

TEST(SettingsText, TakesEveryGoodLineAndNamesEveryOtherWithItsLine) {
  const struct {
    std::string text;
    std::vector<Feature> off;
    std::vector<std::string> problems;  // "line: what"
  } cases[] = {
      {"\xEF\xBB\xBF; mine\r\n\r\n  [ Features ] # here\r\nDESCENT-Request\t=\tOFF ; too hard\r\nradio-calls=off",
       {Feature::descentRequest, Feature::radioCalls}, {}},
      {"[features]\ndescent-request = off\ndescent-request = on\nwind = off\nradio-calls = maybe\nradio-calls =\n"
       "missed-approach = off\nmissed-approach = nein\nclearence-withdrawal = off\nClearance_Withdrawal = off\n"
       "weather = off\n",
       {Feature::missedApproach},
       {"3: descent-request is set again (first on line 2); this line counts",
        "4: unknown feature \"wind\" (did you mean wind-announcements?); ignored",
        "5: radio-calls = \"maybe\" is none of on/off, true/false, yes/no, 1/0 or enabled/disabled; radio-calls "
        "stays on",
        "6: radio-calls has no value; radio-calls stays on",
        "8: missed-approach = \"nein\" is none of on/off, true/false, yes/no, 1/0 or enabled/disabled; "
        "missed-approach stays off, as line 7 set it",
        "9: unknown feature \"clearence-withdrawal\" (did you mean clearance-withdrawal?); ignored",
        "10: unknown feature \"Clearance_Withdrawal\" (did you mean clearance-withdrawal?); ignored",
        "11: unknown feature \"weather\"; ignored"}},
      // Every way of saying on and off, in any case and in quotes; settings before any heading count.
      {"descent-request = FALSE\ntransponder-changes = \"No\"\nholding-supervision = '0'\n"
       "approach-tracking = Disabled\nground-supervision = true\n[features]\nclearance-withdrawal = Off\n"
       "missed-approach = YES\naltitude-reminders = 1\nwind-announcements = \"enabled\"\nradio-calls = \" off \"\n",
       {Feature::descentRequest, Feature::transponderChanges, Feature::holdingSupervision, Feature::approachTracking,
        Feature::clearanceWithdrawal, Feature::radioCalls},
       {}},
      // Notepad's "Unicode", little- and big-endian, with a letter beyond two bytes in a comment.
      {std::string("\xFF\xFE;\0\x3D\xD8\x00\xDE\r\0\n\0w\0i\0n\0d\0-\0a\0n\0n\0o\0u\0n\0c\0e\0m\0e\0n\0t\0s\0=\0o\0f\0f", 56),
       {Feature::windAnnouncements}, {}},
      {std::string("\xFE\xFF\0[\0f\0e\0a\0t\0u\0r\0e\0s\0]\0\n\0r\0a\0d\0i\0o\0-\0c\0a\0l\0l\0s\0=\0n\0o", 52),
       {Feature::radioCalls}, {}},
      {"[radio]\nradio-calls = off\n[features\nhello\n\x1b[2J" + std::string(60, 'x'), {},
       {"2: \"radio-calls = off\" is outside [features]; ignored",
        "3: \"[features\" is not a setting or a [section] heading; ignored",
        "4: \"hello\" is not a setting (name = on or off); ignored",
        "5: \"?[2J" + std::string(36, 'x') + "...\" is not a setting (name = on or off); ignored"}},
  };
  for (const auto& c : cases) {
    SettingsReading reading = readSettingsText(c.text);
    std::vector<std::string> problems;
    for (const SettingsProblem& problem : reading.problems)
      problems.push_back(std::to_string(problem.line) + ": " + problem.what);
    EXPECT_EQ(reading.switches.switchedOff(), c.off) << c.text;
    EXPECT_EQ(problems, c.problems) << c.text;
  }
  // What --write-settings writes reads back as it was meant, CR LF throughout.
  for (const FeatureSwitches& switches : {FeatureSwitches{}, testing::allFeaturesOff()}) {
    const std::string text = settingsFileText(switches);
    EXPECT_EQ(readSettingsText(text).switches, switches);
    EXPECT_TRUE(readSettingsText(text).problems.empty());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
  }
}

}  // namespace
}  // namespace aplpatch
