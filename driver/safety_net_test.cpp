// The safety net of a run: a rewrite that loses labels of the generated script is kept aside, a
// compiler that fails on the rewrite gets the script as generated, and the [run] settings switch
// both. In every case the flight is compiled.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "commands/preview.h"
#include "driver/run_log.h"
#include "driver/run_patch.h"
#include "driver/settings_text.h"
#include "platform/file_name_fit.h"
#include "platform/output_tail.h"
#include "testing/fake_platform.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

const std::string kSettings = "/opt/aplpatch/aplpatch.ini";  // beside the fake platform's program
constexpr const char* kScript = "start:\r\nwait 2\r\nende:\r\n";
// The traffic call's branch is read on to its ELSE, which this script lacks: the rest goes.
constexpr const char* kLosingScript = "start:\r\nx VOICE3\\FC_N016\"\r\nwait 2\r\nende:\r\n  missed_1:  \r\n";

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(SafetyNet, ARewriteThatLosesLabelsIsKeptAsideAndTheScriptCompiledAsGenerated) {
  FakePlatform platform;
  platform.addFile("F.APL", kLosingScript);
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  EXPECT_TRUE(platform.printed().ends_with(
      "analysis done\n"
      "saving new generated APL file F.APL.new ...\n"
      "The rewrite lost 2 labels of F.APL (ENDE, MISSED_1): F.APL is compiled as generated, the rewrite is kept "
      "as apl/F.APL.new.\n"
      "running original ADV generator...\n"))
      << platform.printed();
  EXPECT_EQ(platform.filesWhenRun().at("F.APL"), kLosingScript);
  EXPECT_EQ(platform.file("F.APL"), kLosingScript);
  EXPECT_EQ(platform.file("apl/F.APL.new"), testing::rewriteWhole(kLosingScript).bytes);
  EXPECT_EQ(platform.temporaries(), std::vector<std::string>{});
  const std::string log = platform.file("apl/F.APL.log").value_or("");
  EXPECT_TRUE(contains(log, "outcome: as generated: the rewrite lost 2 labels\r\n"
                            "compiler: exit status 0\r\n"
                            "compiler file: aplc2.exe\r\nstale temporaries removed: 0\r\n"
                            "labels lost by the rewrite: ENDE (line 4), MISSED_1 (line 5)\r\n"
                            "  lines 2 to 5: a rule of radio-calls read on for a line holding \"ELSE\" and met "
                            "the end of the script first\r\n"))
      << log;
}

TEST(SafetyNet, APreviewShowsTheRewriteAndSaysARunWouldNotUseIt) {
  for (const char* script : {kScript, kLosingScript}) {
    SCOPED_TRACE(script);
    FakePlatform platform;
    platform.addFile("F.APL", script);
    EXPECT_EQ(previewScript(platform, platform.console(), "F.APL"), 0);
    EXPECT_EQ(platform.console().standardOutputBytes(), testing::rewriteWhole(script).bytes);
    EXPECT_EQ(platform.console().errorOutput().ends_with(
                  "A run would compile F.APL as generated: the rewrite loses 2 labels of it (ENDE, MISSED_1).\n"),
              script == kLosingScript);
    EXPECT_EQ(platform.file("F.APL"), script);
  }
}

// What a run ends with when the compiler fails on the rewrite.
struct FallbackCase {
  const char* what;
  std::vector<int> exitCodes;
  const char* settings;  // the settings file, or none
  Operation failing;     // made to fail once, at `nth`; kMove (never called) for none
  int nth;
  int status;
  bool putBack;            // the script is as generated afterwards
  const char* consoleEnd;  // what the console ends with after the first compiler call
};

TEST(SafetyNet, ACompilerThatFailsOnTheRewriteGetsTheScriptAsGenerated) {
  const std::string putBack =
      "aplc2.exe failed on the rewritten F.APL with exit status 2: F.APL is put back as generated and compiled "
      "again, without the additions.\n"
      "running original ADV generator...\n";
  const std::vector<FallbackCase> cases = {
      {"a compiler that succeeds", {0}, nullptr, Operation::kMove, 0, 0, false, ""},
      {"a compiler that fails, then succeeds", {2, 0}, nullptr, Operation::kMove, 0, 0, true, putBack.c_str()},
      {"a compiler that fails twice", {2, 5}, nullptr, Operation::kMove, 0, 5, true, putBack.c_str()},
      {"fallback switched off", {2, 0}, "[run]\nfallback = off\n", Operation::kMove, 0, 2, false, ""},
      {"no backup of this run", {2, 0}, nullptr, Operation::kReplace, 1, 2, false,
       "aplc2.exe failed on the rewritten F.APL with exit status 2; without a backup of this run it cannot be "
       "compiled as generated.\n"},
      {"the backup cannot be read", {2, 0}, nullptr, Operation::kOpenForRead, 2, 2, false,
       "aplc2.exe failed on the rewritten F.APL with exit status 2; cannot put F.APL back as generated: "
       "Permission denied.\n"},
      {"the put-back cannot replace the script", {2, 0}, nullptr, Operation::kReplace, 4, 2, false,
       "aplc2.exe failed on the rewritten F.APL with exit status 2; cannot put F.APL back as generated: "
       "Permission denied.\n"},
  };
  const std::string rewritten = testing::rewriteWhole(kScript).bytes;
  for (const FallbackCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.addFile("F.APL", kScript);
    if (c.settings != nullptr) platform.addFile(kSettings, c.settings);
    platform.setExitCodes(c.exitCodes);
    if (c.nth > 0) platform.failCall(c.failing, c.nth, "Permission denied");
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), c.status);
    EXPECT_EQ(platform.file("F.APL"), c.putBack ? kScript : rewritten);
    const std::string& console = platform.printed();
    const std::string first = "running original ADV generator...\n";
    ASSERT_NE(console.find(first), std::string::npos) << console;
    EXPECT_EQ(console.substr(console.find(first) + first.size()), c.consoleEnd);
    EXPECT_EQ(platform.filesWhenEachRun().size(), c.putBack ? 2u : 1u);
    EXPECT_EQ(platform.filesWhenEachRun().front().at("F.APL"), rewritten);
    // The rewrite stays in the backup folder for the pilot to look at.
    if (c.nth == 0) {
      EXPECT_EQ(platform.file("apl/F.APL.new"), rewritten);
    }
    EXPECT_EQ(platform.temporaries(), std::vector<std::string>{});
  }
}

TEST(SafetyNet, TheLogRecordsBothCompilerRuns) {
  FakePlatform platform;
  platform.addFile("F.APL", kScript);
  platform.setExitCodes({2, 0});
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  EXPECT_TRUE(contains(platform.file("apl/F.APL.log").value_or(""),
                       "outcome: as generated: the compiler failed on the rewrite\r\n"
                       "compiler: exit status 2; as generated: exit status 0\r\n"));
}

TEST(SafetyNet, TheLogKeepsWhatTheCompilerWroteOnEachRun) {
  FakePlatform platform;
  platform.addFile("F.APL", kScript);
  platform.setExitCodes({2, 0});
  platform.setProgramOutput("compiling\r\ndone\r\n", "line 3: ENDIF without IF\n");
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  const std::string log = platform.file("apl/F.APL.log").value_or("");
  EXPECT_TRUE(contains(log, "compiler: exit status 2; as generated: exit status 0\r\n"
                            "compiler file: aplc2.exe\r\nstale temporaries removed: 0\r\n"
                            "aplc2.exe standard output:\r\n  compiling\r\n  done\r\n"
                            "aplc2.exe standard error:\r\n  line 3: ENDIF without IF\r\n"
                            "aplc2.exe standard output, as generated:\r\n  compiling\r\n  done\r\n"
                            "aplc2.exe standard error, as generated:\r\n  line 3: ENDIF without IF\r\n"))
      << log;
}

TEST(OutputTail, KeepsTheLast64KiB) {
  for (std::size_t size : {std::size_t{0}, std::size_t{10}, OutputTail::kKept, 3 * OutputTail::kKept + 7}) {
    SCOPED_TRACE(size);
    std::string all;
    for (std::size_t i = 0; i < size; ++i) all.push_back(static_cast<char>('a' + i % 23));
    OutputTail tail;
    // In pieces of an odd size, so that the cuts fall anywhere.
    for (std::size_t at = 0; at < all.size(); at += 1000) tail.append(std::string_view(all).substr(at, 1000));
    EXPECT_TRUE(tail.take() == all.substr(all.size() - std::min(all.size(), OutputTail::kKept)));
  }
}

TEST(SafetyNet, SwitchedOffInTheSettingsEveryFlightIsCompiledAsGeneratedAfterItsBackup) {
  FakePlatform platform;
  platform.addFile("F.APL", kScript);
  platform.addFile(kSettings, "[run]\npatch = off\n");
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
  EXPECT_EQ(platform.printed(),
            "TALKRADAR patch started...\n"
            "settings file " + kSettings + ": every feature on\n"
            "saving old generated APL file F.APL ...\n"
            "aplpatch is switched off in its settings file " + kSettings + ": F.APL is compiled as generated.\n"
            "running original ADV generator...\n");
  EXPECT_EQ(platform.filesWhenRun().at("F.APL"), kScript);
  EXPECT_EQ(platform.file("apl/F.APL"), kScript);
  EXPECT_FALSE(platform.file("apl/F.APL.new"));
  const std::string log = platform.file("apl/F.APL.log").value_or("");
  EXPECT_TRUE(contains(log, "outcome: as generated: switched off in the settings file\r\n")) << log;
  EXPECT_TRUE(contains(log, ", every feature on, patch off\r\n")) << log;
}

TEST(SafetyNet, AnAlreadyPatchedScriptSaysWhenTheSettingsApplyOnlyFromNowOn) {
  const struct {
    const char* settings;
    bool fromNowOn;
  } cases[] = {{nullptr, false}, {"[features]\nradio-calls = on\n", false},
               {"[features]\nradio-calls = off\n", true}, {"[run]\nfallback = off\n", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings == nullptr ? "no settings" : c.settings);
    FakePlatform platform;
    platform.addFile("F.APL", testing::rewriteWhole(kScript).bytes);
    if (c.settings != nullptr) platform.addFile(kSettings, c.settings);
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    EXPECT_EQ(contains(platform.printed(), "F.APL is already patched: handed to the compiler unchanged; the "
                                           "settings apply to flights generated from now on.\n"),
              c.fromNowOn);
    EXPECT_TRUE(contains(platform.printed(), "F.APL is already patched: handed to the compiler unchanged"));
  }
}

TEST(SafetyNet, KeepsTheFiveLogsBeforeTheNewestAndDropsOlderOnes) {
  const struct {
    const char* what;
    std::vector<int> earlier;  // the ages of the logs there before the run (0 the newest)
    std::vector<int> after;    // the ages there afterwards, each holding the log one younger
    bool replaceFails;
  } cases[] = {
      {"no earlier log", {}, {}, false},
      {"one earlier log", {0}, {1}, false},
      {"every place taken", {0, 1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, false},
      {"a gap", {0, 2}, {1, 3}, false},
      {"a log that cannot be moved", {0}, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.addFile("F.APL", kScript);
    const auto path = [](int age) { return age == 0 ? std::string("apl/F.APL.log") : keptLogPath("apl/F.APL.log", age); };
    for (int age : c.earlier) platform.addFile(path(age), "log " + std::to_string(age));
    // The run replaces the backup, the script and the rewrite's backup before it writes its log.
    if (c.replaceFails) platform.failCall(Operation::kReplace, 4, "Permission denied");
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    for (int age : c.after) {
      EXPECT_EQ(platform.file(path(age)), "log " + std::to_string(age - 1)) << age;
    }
    for (int age = 1; age <= 6; ++age) {
      if (std::find(c.after.begin(), c.after.end(), age) == c.after.end()) {
        EXPECT_FALSE(platform.file(path(age))) << age;
      }
    }
    // The newest log is written whatever became of the earlier ones.
    EXPECT_TRUE(platform.file("apl/F.APL.log").value_or("").starts_with("aplpatch "));
    EXPECT_EQ(contains(platform.printed(), "Cannot keep the earlier log apl/F.APL.log as apl/F.APL.1.log: "
                                           "Permission denied\n"),
              c.replaceFails);
  }
}

TEST(RunSettingsText, TheRunSectionSwitchesFallbackAndPatch) {
  const struct {
    const char* text;
    bool fallback, patch;
    const char* problem;  // the first problem, or none
  } cases[] = {
      {"", true, true, nullptr},
      {"[run]\nfallback = off\n", false, true, nullptr},
      {"[ RUN ]\r\nPATCH=Off ; for now\r\nfallback = on\r\n", true, false, nullptr},
      {"[run]\nfallback = maybe\n", true, true, "fallback = \"maybe\" is none of on/off, true/false, yes/no, 1/0 or enabled/disabled; ignored"},
      {"[run]\npatch =\n", true, true, "patch has no value; ignored"},
      {"[run]\nfallbak = off\n", true, true, "unknown setting \"fallbak\" in [run]; ignored"},
      {"[features]\nfallback = off\n", true, true, "unknown feature \"fallback\"; ignored"},
      {"[run]\nradio-calls = off\n", true, true, "unknown setting \"radio-calls\" in [run]; ignored"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SettingsReading reading = readSettingsText(c.text);
    EXPECT_EQ(reading.run.fallback, c.fallback);
    EXPECT_EQ(reading.run.patch, c.patch);
    EXPECT_TRUE(reading.switches.allOn());
    if (c.problem == nullptr) {
      EXPECT_TRUE(reading.problems.empty());
    } else {
      ASSERT_FALSE(reading.problems.empty());
      EXPECT_EQ(reading.problems.front().what, c.problem);
    }
  }
  // The file written reads back as written.
  RunSwitches off{false, false};
  EXPECT_EQ(readSettingsText(settingsFileText({}, off)).run, off);
  EXPECT_TRUE(readSettingsText(settingsFileText({}, off)).problems.empty());
}

TEST(KeptLogs, EveryGenerationsNameFitsOneNameOfTheFileSystem) {
  EXPECT_EQ(keptLogPath("apl/F.APL.log", 3), "apl/F.APL.3.log");
  // The log of a script whose name is as long as the file system takes is fitted already; its
  // generations must be as well, and stay apart.
  const std::string log = "apl/" + fittedName(std::string(255, 'F'), ".log");
  std::set<std::string> names;
  for (int age = 1; age <= 5; ++age) {
    const std::string kept = keptLogPath(log, age);
    EXPECT_TRUE(kept.starts_with("apl/")) << kept;
    EXPECT_LE(kept.size() - 4, kLongestFileName) << kept;
    EXPECT_TRUE(kept.ends_with("." + std::to_string(age) + ".log")) << kept;
    names.insert(kept);
  }
  EXPECT_EQ(names.size(), 5u);
}

}  // namespace
}  // namespace aplpatch
