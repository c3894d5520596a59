// Whole scripts rewritten with features switched off: what each switch removes, the texts that depend
// on a switch, and the lines that the stand-ins keep from the other rules. Whether what stays is as
// sound as the full rewrite is for switch_soundness_test.cpp.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rule_engine.h"
#include "engine/line_text.h"
#include "rules/rewrite_script.h"
#include "rules/rule_table.h"
#include "structure/scanning_streams.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

const char* const kGoldenScripts[] = {
    "examples/sample_flight.apl",        "testdata/crewless_flight.apl",
    "testdata/departure_and_landing.apl", "testdata/flight_section.apl",
    "testdata/holding_and_approach.apl",
};

FeatureSwitches without(Feature feature) {
  FeatureSwitches switches;
  switches.set(feature, false);
  return switches;
}

// The whole rewrite of a golden script (LF line ends).
std::string rewriteOf(const char* path, const FeatureSwitches& switches) {
  const auto script = testing::readBytes(std::string(APLPATCH_SOURCE_DIR).append("/").append(path));
  EXPECT_TRUE(script.has_value()) << path;
  testing::MemorySource source(script.value_or(""));
  testing::MemorySink sink;
  testing::RecordingConsole console;
  rewriteScript(source, sink, console, switches);
  return testing::withoutCr(sink.bytes());
}

// Texts that only the rules of one feature write into the script's lines (the appended
// subroutines, which stay, are cut off before they are looked for).
const std::map<Feature, std::vector<std::string_view>> kInsertedTexts = {
    {Feature::descentRequest,
     {" VDESCREQ = 1", "GOSUB REQ_DESCENT", "IF VMAXALT = 500000 THEN", "REQUESTING DESCENT"}},
    {Feature::transponderChanges, {"VSQUAWKNEU = INT(RANDOM * 10)"}},
    {Feature::holdingSupervision, {"WHILE VMISSCNT != 3", "HOLDFIX_BC:\nVFIRSTCALL = 0"}},
    {Feature::approachTracking,
     {"GOSUB CENTERX", "VLASTHDG = PLANE_HEADING", "IF (VMAPPREASON = 1) AND ON_GROUND THEN"}},
    {Feature::groundSupervision,
     {"VPUSHBACK = 1", "LINE_UP2", "TEST1:", "IF VCRY <= 3 THEN", "WHILE (VCONTACTED = 0)"}},
    {Feature::clearanceWithdrawal, {"GOTO ENDE", "Cancel\""}},
    {Feature::missedApproach,
     {"GOSUB MISSED_APP_KEY", "GOTO MISSED_APP2", "(VFLYMISSEDAPP = 1) THEN"}},
    {Feature::altitudeReminders, {"GOSUB COMPUTE_VELOCITY_Y"}},
    {Feature::windAnnouncements, {"GOSUB PLAY_WINDSPD", "IF WIND_SURF_VEL > 0 THEN"}},
    {Feature::radioCalls, {"GOSUB PLAYTRAFFIC", "VRANDOM2 = RANDOM * 100"}},
};

TEST(SwitchedRewrite, EachSwitchRemovesWhatItsRulesWriteIntoTheGoldenScripts) {
  for (const FeatureInfo& info : featureTable()) {
    for (std::string_view text : kInsertedTexts.at(info.feature)) {
      bool seenAllOn = false;
      for (const char* path : kGoldenScripts) {
        auto lines = [&](const FeatureSwitches& switches) {
          const std::string whole = rewriteOf(path, switches);
          return whole.substr(0, whole.rfind("REQ_DESCENT:\n"));
        };
        seenAllOn = seenAllOn || contains(lines({}), text);
        EXPECT_FALSE(contains(lines(without(info.feature)), text)) << info.name << " off, " << path;
      }
      EXPECT_TRUE(seenAllOn) << text << " is in no golden rewrite: the check would prove nothing";
    }
  }
}

// The texts of rules that stay but depend on another switch, through the choices made before the
// first line: each against lines that show both versions.
struct Choice {
  bool RewriteState::*field;
  std::string_view lines;
  std::string_view onlyWhenSet;
  std::string_view onlyWhenClear;
};

const Choice kChoices[] = {
    {&RewriteState::withdrawClearances, "CHECK_IF_MOOVING:\n", "GOTO ENDE",
     "    ELSE\n      GOSUB TAXI_VIA\n"},
    {&RewriteState::withdrawClearances,
     "CHECK_RWY_ALIGN:\n WHILE NOT INRANGE360(PLANE_HEADING,245,255)\n", "GOTO ENDE",
     "    ELSE\n      GOSUB LINE_UP2\n"},
    {&RewriteState::withdrawClearances, "LINE_UP:\n", "GOTO ENDE",
     "StandBy\"\n    VLAT = PLANE_LAT\n"},
    {&RewriteState::withdrawClearances, "WHILE ON_GROUND\n WAIT 1\nENDWHILE\n", "GOTO ENDE",
     "(VMISSCNT = 2) THEN\n   GOSUB PLAYCALL\n   CONTROLLERS\\VOICE1\\FC_N010\"\n"},
    {&RewriteState::hintAtDescentRequest,
     "WELCOME:\n PRINT\"Press X to see the keys available during this flight\"\n",
     "FOR REQUESTING DESCENT",
     "WAIT MESSAGE\n PRINT\"PRESS X TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n"},
    {&RewriteState::forcedMissedApproach, " WHILE GROUND_DISTANCE(VLAT,VLON) < 6\n",
     "GOTO MISSED_APP2", "< 6\n   IF ELAPSED_TIME > VTIMER THEN\n"},
};

TEST(SwitchedRewrite, ChoicesMadeBeforeTheFirstLineChangeTheTextsThatDependOnThem) {
  for (const Choice& choice : kChoices) {
    for (bool set : {true, false}) {
      RewriteState state;
      state.*choice.field = set;
      const std::string text =
          testing::rewriteLinesOnly(choice.lines, testing::pastHeader(state)).text;
      EXPECT_EQ(contains(text, choice.onlyWhenSet), set) << text;
      EXPECT_EQ(contains(text, choice.onlyWhenClear), !set) << text;
      // Some of the lines open a loop they do not close; every IF block the rules write pairs up.
      const ScriptStructure structure = scanScript(text);
      for (const BlockProblems& problems : structure.blockProblems()) {
        EXPECT_EQ(problems.kind, BlockProblem::whileNotClosed) << text;
      }
    }
  }
}

// The lines of `input` rewritten with `feature` off, the script's header passed, without the
// appended subroutines.
std::string linesWithout(Feature feature, std::string_view input) {
  const FeatureSwitches switches = without(feature);
  const std::vector<RuleEntry> rules = lineRulesFor(switches);
  const testing::Start start = testing::pastHeader(startStateFor(switches));
  testing::MemorySource source{std::string(input)};
  testing::MemorySink sink;
  testing::RecordingConsole console;
  Engine engine(source, sink, console, rules, {}, start.state, start.passesDone);
  engine.rewriteLines();
  engine.finish();
  return testing::withoutCr(sink.bytes());
}

// A switched-off rule that would replace lines it reads itself leaves a stand-in that keeps them as
// they are, and as unseen by the other rules as the rule keeps them: each case holds a line that a
// rule of another feature would act on.
struct KeptLines {
  Feature off;
  std::string_view lines;  // come out as they are
};

const KeptLines kKeptLines[] = {
    {Feature::holdingSupervision,
     "HOLDFIX_C:\nGOSUB FIX_HDG\nWHILE NOT INRANGE360(PLANE_HEADING,80,100)\nVCHECKLISTS = 7\nENDWHILE\n"
     "GOTO HOLDFIX_BC\n"},
    {Feature::holdingSupervision,
     "HOLDFIX_BC:\nGOSUB FIX_BC\nIF VHOLDING = 1 THEN\n WHILE NOT INRANGE360(PLANE_HEADING,260,280)\n"
     "VCHECKLISTS = 7\n ENDWHILE\nENDIF\n"},
    {Feature::groundSupervision,
     "HOLDFIX_C:\nCHECK_RWY_ALIGN:\n WHILE NOT INRANGE360(PLANE_HEADING,245,255)\n  WAIT 1\n ENDWHILE\n"
     " RETURN\n"},
    {Feature::groundSupervision, "WHILE ON_GROUND\nVDIF < -10\nENDWHILE\n"},
    {Feature::groundSupervision, "WAIT_FINAL_STOP:\nVDIF < -10\nFINALLIST:\n"},
    {Feature::approachTracking,
     "FIX_BC:\n AUTOPILOT_HEADING = VRAD\nWHILE ON_GROUND\n VOR_1_OBS = VHDG\n AUTOPILOT_HEADING = VHDG\n"
     "RETURN\n"},
    {Feature::radioCalls, " VOICE3\\FC_N016\"\nWHILE ON_GROUND\n WAIT 1\n ELSE\n"},
    {Feature::radioCalls, "PLAYCALL:\nIF VVOICE = 1 THEN\nWHILE ON_GROUND\nENDIF\nRETURN\n"},
    {Feature::windAnnouncements, "FC_N040\nVDIF < -10\nFC_N041\nVDIF < -10\nFC_N042\n"},
    {Feature::missedApproach, "WHILE ON_GROUND = 0\nSET_TOD_ALT:\n"},
};

TEST(SwitchedRewrite, StandInsKeepTheLinesTheirRulesReplaceFromTheOtherRules) {
  for (const KeptLines& kept : kKeptLines) {
    EXPECT_EQ(linesWithout(kept.off, kept.lines), kept.lines) << featureName(kept.off) << " off";
  }
  // A kept AUTOPILOT subroutine is the script's own: no second one is appended.
  std::string lines(kKeptLines[0].lines);
  lines.insert(lines.find("VCHECKLISTS"), "AUTOPILOT:\n");
  testing::MemorySource source{lines};
  testing::MemorySink sink;
  testing::RecordingConsole console;
  rewriteScript(source, sink, console, without(Feature::holdingSupervision));
  EXPECT_EQ(sink.bytes().find("AUTOPILOT:"), sink.bytes().rfind("AUTOPILOT:")) << sink.bytes();
}

}  // namespace
}  // namespace aplpatch
