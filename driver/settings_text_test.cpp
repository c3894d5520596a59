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
      {"[features]\ndescent-request = off\ndescent-request = on\nwind = off\nradio-calls = no\nradio-calls =\n", {},
       {"3: descent-request is set again (first on line 2); this line counts", "4: unknown feature \"wind\"; ignored",
        "5: radio-calls = \"no\" is neither on nor off; ignored", "6: radio-calls has no value; ignored"}},
      {"radio-calls = off\n[radio]\nradio-calls = off\n[features\nhello\n\x1b[2J" + std::string(60, 'x'), {},
       {"1: \"radio-calls = off\" is outside [features]; ignored",
        "3: \"radio-calls = off\" is outside [features]; ignored",
        "4: \"[features\" is not a setting or a [section] heading; ignored",
        "5: \"hello\" is not a setting (name = on or off); ignored",
        "6: \"?[2J" + std::string(36, 'x') + "...\" is not a setting (name = on or off); ignored"}},
      {std::string("\xFF\xFE[\0f\0]\0", 8), {},
       {"0: is saved as UTF-16 (\"Unicode\"): save it as UTF-8 or ANSI; ignored"}},
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
