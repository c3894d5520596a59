#include "driver/settings_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace aplpatch {
namespace {

struct Case {
  const char* what;
  std::string text;
  std::vector<Feature> off;
  std::vector<std::string> problems;  // "line: what"
};

std::vector<std::string> problemsOf(const SettingsReading& reading) {
  std::vector<std::string> lines;
  for (const SettingsProblem& problem : reading.problems)
    lines.push_back(std::to_string(problem.line) + ": " + problem.what);
  return lines;
}

TEST(SettingsText, TakesEveryGoodLineAndNamesEveryOtherWithItsLine) {
  const std::vector<Case> cases = {
      {"empty", "", {}, {}},
      {"one off", "[features]\ndescent-request = off\n", {Feature::descentRequest}, {}},
      {"byte-order mark, CR LF, any case", "\xEF\xBB\xBF[Features]\r\nDESCENT-Request = OFF\r\nRadio-Calls=On\r\n",
       {Feature::descentRequest}, {}},
      {"comments, blanks, tabs, a comment after the value",
       "; mine\n# also mine\n\n  [ features ]  ; here\n\tmissed-approach\t=\toff ; too hard\nwind-announcements=off#x\n",
       {Feature::missedApproach, Feature::windAnnouncements}, {}},
      {"no line end at the end", "[features]\nradio-calls = off", {Feature::radioCalls}, {}},
      {"set twice: the last counts", "[features]\ndescent-request = off\ndescent-request = on\n", {},
       {"3: descent-request is set again (first on line 2); this line counts"}},
      {"unknown name", "[features]\nwind = off\n", {}, {"2: unknown feature \"wind\"; ignored"}},
      {"neither on nor off, an earlier good line stands",
       "[features]\nholding-supervision = off\nholding-supervision = no\nwind-announcements =\n",
       {Feature::holdingSupervision},
       {"3: holding-supervision = \"no\" is neither on nor off; ignored", "4: wind-announcements has no value; ignored"}},
      {"outside [features]", "descent-request = off\n[radio]\nmissed-approach = off\n[features]\n", {},
       {"1: \"descent-request = off\" is outside [features]; ignored",
        "3: \"missed-approach = off\" is outside [features]; ignored"}},
      {"not a setting", "[features]\nhello\n= off\n[features\n", {},
       {"2: \"hello\" is not a setting (name = on or off); ignored",
        "3: \"= off\" is not a setting (name = on or off); ignored",
        "4: \"[features\" is not a setting or a [section] heading; ignored"}},
      {"control bytes and long lines are not shown as they are",
       "[features]\n\x1b[2J" + std::string(60, 'x') + "\n", {},
       {"2: \"?[2J" + std::string(36, 'x') + "...\" is not a setting (name = on or off); ignored"}},
      {"UTF-16", std::string("\xFF\xFE[\0f\0]\0", 8), {},
       {"0: is saved as UTF-16 (\"Unicode\"): save it as UTF-8 or ANSI; ignored"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SettingsReading reading = readSettingsText(c.text);
    EXPECT_EQ(reading.switches.switchedOff(), c.off);
    EXPECT_EQ(problemsOf(reading), c.problems);
  }
}

TEST(SettingsText, AWrittenFileReadsBackAsItsSwitchesWithoutProblems) {
  FeatureSwitches someOff;
  someOff.set(Feature::clearanceWithdrawal, false);
  someOff.set(Feature::radioCalls, false);
  for (const FeatureSwitches& switches : {FeatureSwitches{}, someOff, allFeaturesOff()}) {
    const std::string text = settingsFileText(switches);
    SettingsReading reading = readSettingsText(text);
    EXPECT_EQ(reading.switches, switches) << text;
    EXPECT_EQ(problemsOf(reading), std::vector<std::string>{}) << text;
    // CR LF line ends throughout, as Notepad writes them.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
  }
}

}  // namespace
}  // namespace aplpatch
