// A run with and without the settings file beside the program: what it prints, rewrites and logs.

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>

#include "driver/run_patch.h"
#include "rules/features.h"
#include "testing/fake_platform.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

const std::string kSettings = "/opt/aplpatch/aplpatch.ini";  // beside the fake platform's program

std::string golden(const std::string& name) {
  return testing::readBytes(std::string(APLPATCH_TESTDATA "/") + name).value_or("no file " + name);
}

// The console of a complete run on F.APL with `settings` after the start line.
std::string runConsole(const std::string& settings, const std::string& rules) {
  return "TALKRADAR patch started...\n" + settings +
         "saving old generated APL file F.APL ...\ninserting missing RETURNS ...\n" + rules +
         "analysis done\nsaving new generated APL file F.APL.new ...\nrunning original ADV generator...\n";
}

TEST(RunSettings, TheFileSwitchesTheRewriteSaysSoOnceAndTheLogRecordsIt) {
  const std::string off = "descent-request, transponder-changes, holding-supervision, approach-tracking, "
                          "ground-supervision, clearance-withdrawal, missed-approach, altitude-reminders, "
                          "wind-announcements, radio-calls";
  std::string allOff = "[features]\r\n";
  for (const FeatureInfo& info : featureTable()) allOff += std::string(info.name) + " = off\r\n";
  // The full rewrite's first structure finding; see the structure checker's golden test for all.
  const std::string fullAdds =
      "  line 569: ENDIF without an open IF below label HOLDFIX_BC (added by holding-supervision)\r\n";
  const struct {
    const char* settings;  // the file, or none
    std::string golden, consoleLine, logLine, structure;
  } cases[] = {
      {nullptr, "sample_flight", "", "settings: none at " + kSettings + ", every feature on", fullAdds},
      {"[features]\nradio-calls = on\n", "sample_flight", "settings file " + kSettings + ": every feature on\n",
       "settings: " + kSettings + ", every feature on", fullAdds},
      {allOff.c_str(), "sample_flight_all_off", "settings file " + kSettings + ": switched off: " + off + "\n",
       "settings: " + kSettings + ", switched off: " + off, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden + c.consoleLine);
    FakePlatform platform;
    platform.addFile("F.APL", testing::readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or(""));
    if (c.settings != nullptr) platform.addFile(kSettings, c.settings);
    ASSERT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    EXPECT_TRUE(platform.file("F.APL") == golden(c.golden + ".expected.apl")) << "the rewrite differs";
    EXPECT_EQ(platform.printed(), runConsole(c.consoleLine, golden(c.golden + ".console.txt")));
    // The briefing as the log holds it: CR LF, indented under its heading.
    const std::string briefing = std::regex_replace(
        std::regex_replace(golden(c.golden + ".briefing.txt"), std::regex("\n"), "\r\n"), std::regex("\r\n(.)"),
        "\r\n  $1");
    const std::string log = platform.file("apl/F.APL.log").value_or("");
    EXPECT_NE(log.find("\r\ncompiler: exit status 0\r\ncompiler file: aplc2.exe\r\nstale temporaries removed: 0\r\n" +
                       c.logLine + "\r\n" + briefing +
                       "what the rewrite adds to the structure of the script:\r\n" + c.structure),
              std::string::npos)
        << log;
  }
}

TEST(RunSettings, EveryKindOfBadFileGivesItsLineAndTheRunGoesOn) {
  const std::string allOn = "settings file " + kSettings + ": every feature on\n";
  std::string flood = "[features]\n", tenShown = allOn;
  for (int line = 2; line <= 13; ++line) {
    flood += "x = on\n";
    if (line < 12) tenShown += kSettings + " line " + std::to_string(line) + ": unknown feature \"x\"; ignored\n";
  }
  const struct {
    std::function<void(FakePlatform&)> prepare;
    std::string lines;
  } cases[] = {
      {[](FakePlatform& p) { p.addFile(kSettings, "[features]\nwind = off\nradio-calls = off\n"); },
       "settings file " + kSettings + ": switched off: radio-calls\n" + kSettings +
           " line 2: unknown feature \"wind\" (did you mean wind-announcements?); ignored\n"},
      {[](FakePlatform& p) {
         p.addFile(kSettings, "[features]\nradio-calls = off\n");
         p.failCall(Operation::kRead, 1, "Input/output error");
       },
       allOn + kSettings + " cannot be read: Input/output error; ignored\n"},
      {[](FakePlatform& p) { p.addFolder(kSettings); },
       allOn + kSettings + " cannot be read: not a regular file; ignored\n"},
      {[](FakePlatform& p) {  // a folder as Windows refuses it: in the system's words, but coded
         p.addFolder(kSettings);
         p.failCall(Operation::kOpenForRead, 1, StatusCode::notRegularFile, "Access denied (error 5)");
       },
       allOn + kSettings + " cannot be read: not a regular file; ignored\n"},
      {[](FakePlatform& p) {  // a file refused for what it is keeps the system's words
         p.addFile(kSettings, "[features]\nradio-calls = off\n");
         p.failCall(Operation::kOpenForRead, 1, StatusCode::accessRefused, "Access denied (error 5)");
       },
       allOn + kSettings + " cannot be read: Access denied (error 5); ignored\n"},
      {[](FakePlatform& p) { p.addFile(kSettings, std::string(70000, ';')); },
       allOn + kSettings + " is larger than 64 KiB, too large for a settings file; ignored\n"},
      {[&](FakePlatform& p) { p.addFile(kSettings, flood); },
       tenShown + kSettings + ": 2 more problems not shown; aplpatch --settings lists them all\n"},
  };
  const std::string script = "start:\r\nwait 2\r\nende:\r\n";
  for (const auto& c : cases) {
    FakePlatform platform;
    platform.addFile("F.APL", script);
    c.prepare(platform);
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    EXPECT_EQ(platform.printed(), runConsole(c.lines, ""));
    EXPECT_EQ(platform.file("F.APL"), testing::rewriteWhole(script).bytes);
    EXPECT_TRUE(platform.log()[1].starts_with("open " + kSettings)) << "read first, before anything else";
  }
}

TEST(RunSettings, ThePilotsOwnFileIsReadFirstAndAloneAndTheRunEndsWithItsKeys) {
  const std::string own = "/home/p/.config/aplpatch/aplpatch.ini";
  const std::string script = testing::readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("");
  for (bool ownFile : {true, false}) {
    FakePlatform platform;
    platform.setUserFolders("/home/p/.config", "/home/p/.local/state");
    platform.addFile("F.APL", script);
    platform.addFile(kSettings, "[features]\nradio-calls = off\n");
    if (ownFile) platform.addFile(own, "descent-request = no\n");
    EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    EXPECT_TRUE(platform.printed().starts_with(
        "TALKRADAR patch started...\nsettings file " +
        (ownFile ? own + ": switched off: descent-request\n" : kSettings + ": switched off: radio-calls\n")))
        << platform.printed();
    // After the compiler, on standard error only: the keys the host's flight now has, and the log.
    EXPECT_EQ(platform.console().errorOutput(),
              ownFile ? "Keys: M missed approach, L line-up. Log: apl/F.APL.log\n"
                      : "Keys: X descent request, M missed approach, L line-up. Log: apl/F.APL.log\n");
    const std::string record = platform.file("/home/p/.local/state/aplpatch/last-run.txt").value_or("");
    EXPECT_EQ(record, std::string("when: 2026-03-01T14:05:09\r\nscript: F.APL\r\n"
                                  "outcome: rewritten, compiler exit status 0\r\nkeys: ") +
                          (ownFile ? "" : "X descent request, ") + "M missed approach, L line-up\r\nlog: apl/F.APL.log\r\n");
    EXPECT_TRUE(platform.hasFolder("/home/p/.local/state/aplpatch"));
  }
}

}  // namespace
}  // namespace aplpatch
