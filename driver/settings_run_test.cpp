// A run with and without a settings file beside the program: what it prints, rewrites and logs.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "driver/run_patch.h"
#include "driver/settings_file.h"
#include "rules/features.h"
#include "testing/fake_platform.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

// Where the fake platform's program looks for its settings.
const std::string kSettings = "/opt/aplpatch/aplpatch.ini";

std::string golden(const std::string& name) {
  return testing::readBytes(std::string(APLPATCH_TESTDATA "/") + name).value_or("no file " + name);
}

std::string example() { return testing::readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("no example"); }

// The console of a complete run on F.APL: `settings` after the start line, `rules` in the middle.
std::string runConsole(const std::string& settings, const std::string& rules) {
  return "TALKRADAR patch started...\n" + settings +
         "saving old generated APL file F.APL ...\n"
         "inserting missing RETURNS ...\n" +
         rules +
         "analysis done\n"
         "saving new generated APL file F.APL.new ...\n"
         "running original ADV generator...\n";
}

// A golden briefing as the log holds it: CR LF, the lines under its heading indented.
std::string loggedBriefing(const std::string& briefing) {
  std::string text;
  bool heading = true;
  for (char c : briefing) {
    if (c == '\n') {
      text.append("\r\n");
      heading = false;
      continue;
    }
    if (!heading && (text.ends_with("\r\n"))) text.append("  ");
    text.push_back(c);
  }
  return text;
}

std::string everyFeature(const char* value) {
  std::string text = "[features]\r\n";
  for (const FeatureInfo& info : featureTable()) text.append(info.name).append(" = ").append(value).append("\r\n");
  return text;
}

TEST(RunSettings, TheFileSwitchesTheRewriteSaysSoOnceAndTheLogRecordsIt) {
  struct Case {
    const char* what;
    const char* settings;  // the file's text, or null for no file
    const char* golden;    // the name of the golden set
    std::string consoleLine;
    std::string logLine;
  };
  const std::string allOff =
      "descent-request, transponder-changes, holding-supervision, approach-tracking, ground-supervision, "
      "clearance-withdrawal, missed-approach, altitude-reminders, wind-announcements, radio-calls";
  const std::string offText = everyFeature("off");
  const std::vector<Case> cases = {
      {"no file: everything as without settings", nullptr, "sample_flight", "",
       "settings: none at " + kSettings + ", every feature on"},
      {"every feature on", "[features]\ndescent-request = on\n", "sample_flight",
       "settings file " + kSettings + ": every feature on\n", "settings: " + kSettings + ", every feature on"},
      {"every feature off", offText.c_str(), "sample_flight_all_off",
       "settings file " + kSettings + ": switched off: " + allOff + "\n",
       "settings: " + kSettings + ", switched off: " + allOff},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.addFile("F.APL", example());
    if (c.settings != nullptr) platform.addFile(kSettings, c.settings);
    ASSERT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    const std::string name = c.golden;
    EXPECT_TRUE(platform.file("F.APL") == golden(name + ".expected.apl")) << "the rewrite differs";
    EXPECT_EQ(platform.printed(), runConsole(c.consoleLine, golden(name + ".console.txt")));
    const std::string log = platform.file("apl/F.APL.log").value_or("");
    EXPECT_NE(log.find("\r\ncompiler: exit status 0\r\n" + c.logLine + "\r\n" +
                       loggedBriefing(golden(name + ".briefing.txt"))),
              std::string::npos)
        << log;
  }
}

TEST(RunSettings, EveryKindOfBadFileGivesItsLinesAndTheRunGoesOn) {
  struct Case {
    const char* what;
    std::function<void(FakePlatform&)> prepare;
    std::string lines;  // after "settings file ...: " and the summary
  };
  const std::string file = "settings file " + kSettings;
  const std::string allOn = file + ": every feature on\n";
  std::string tooMany = "[features]\n";
  for (int i = 0; i < 12; ++i) tooMany += "x = on\n";
  const std::vector<Case> cases = {
      {"an unknown name", [](FakePlatform& p) { p.addFile(kSettings, "[features]\nwind = off\nradio-calls = off\n"); },
       file + ": switched off: radio-calls\n" + kSettings + " line 2: unknown feature \"wind\"; ignored\n"},
      {"a value other than on or off", [](FakePlatform& p) { p.addFile(kSettings, "[features]\nradio-calls = 0\n"); },
       allOn + kSettings + " line 2: radio-calls = \"0\" is neither on nor off; ignored\n"},
      {"a line outside [features]", [](FakePlatform& p) { p.addFile(kSettings, "radio-calls = off\n"); },
       allOn + kSettings + " line 1: \"radio-calls = off\" is outside [features]; ignored\n"},
      {"text that is not a setting", [](FakePlatform& p) { p.addFile(kSettings, "[features]\r\n\r\nno wind\r\n"); },
       allOn + kSettings + " line 3: \"no wind\" is not a setting (name = on or off); ignored\n"},
      {"a file that cannot be opened",
       [](FakePlatform& p) {
         p.addFile(kSettings, "[features]\nradio-calls = off\n");
         p.failCall(Operation::kOpenForRead, 1, "Permission denied");
       },
       allOn + kSettings + " cannot be read: Permission denied; ignored\n"},
      {"a read that fails",
       [](FakePlatform& p) {
         p.addFile(kSettings, "[features]\nradio-calls = off\n");
         p.failCall(Operation::kRead, 1, "Input/output error");
       },
       allOn + kSettings + " cannot be read: Input/output error; ignored\n"},
      {"a folder in its place", [](FakePlatform& p) { p.addFolder(kSettings); },
       allOn + kSettings + " cannot be read: not a regular file; ignored\n"},
      {"a file far too large",
       [](FakePlatform& p) { p.addFile(kSettings, "[features]\nradio-calls = off\n" + std::string(70000, ';')); },
       allOn + kSettings + " is larger than 64 KiB, too large for a settings file; ignored\n"},
      {"more problems than the console shows", [&](FakePlatform& p) { p.addFile(kSettings, tooMany); },
       [&] {
         std::string lines = allOn;
         for (int line = 2; line < 12; ++line)
           lines += kSettings + " line " + std::to_string(line) + ": unknown feature \"x\"; ignored\n";
         return lines + kSettings + ": 2 more problems not shown; aplpatch --settings lists them all\n";
       }()},
  };
  const std::string script = "start:\r\nwait 2\r\nende:\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.addFile("F.APL", script);
    c.prepare(platform);
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    EXPECT_EQ(platform.printed(), runConsole(c.lines, ""));
    EXPECT_EQ(platform.file("F.APL"), testing::rewriteWhole(script).bytes);
    // Read once, before the script is even opened.
    const std::vector<std::string>& log = platform.log();
    auto opened = [&](const std::string& path) {
      return std::find_if(log.begin(), log.end(),
                          [&](const std::string& entry) { return entry.starts_with("open " + path + " for reading"); });
    };
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& entry) { return entry.starts_with("open " + kSettings); }),
              1);
    EXPECT_LT(opened(kSettings), opened("F.APL"));
  }
}

TEST(RunSettings, TheFileIsBesideTheProgramAsTheSystemNamesIt) {
  struct Case {
    const char* program;
    PathStyle style;
    const char* settings;
  };
  const Case cases[] = {
      {"/opt/tr/aplpatch", kPosixPathStyle, "/opt/tr/aplpatch.ini"},
      {"C:\\Program Files\\TR\\TR.EXE", kWindowsPathStyle, "C:\\Program Files\\TR\\aplpatch.ini"},
      {"aplpatch", kPosixPathStyle, "aplpatch.ini"},
      {"", kWindowsPathStyle, ""},
  };
  for (const Case& c : cases) {
    FakePlatform platform(c.style);
    platform.setRunningProgramPath(c.program);
    EXPECT_EQ(settingsFilePath(platform), c.settings) << c.program;
  }
  // Where the system cannot tell, no file is looked for and the log says why.
  FakePlatform platform;
  platform.setRunningProgramPath("");
  platform.addFile("F.APL", "start:\r\n");
  ASSERT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  EXPECT_NE(platform.file("apl/F.APL.log")
                .value_or("")
                .find("\r\nsettings: none, the system does not say where aplpatch is, every feature on\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace aplpatch
