// Whole scripts rewritten with features switched off: what each switch removes, that what stays is
// as sound as the full rewrite, and the texts that depend on a switch.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_text.h"
#include "rules/rewrite_script.h"
#include "rules/rule_table.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

const char* const kGoldenScripts[] = {
    "examples/sample_flight.apl",        "testdata/crewless_flight.apl",
    "testdata/departure_and_landing.apl", "testdata/flight_section.apl",
    "testdata/holding_and_approach.apl",
};

std::string goldenScript(const char* path) {
  const std::optional<std::string> bytes =
      testing::readBytes(std::string(APLPATCH_SOURCE_DIR).append("/").append(path));
  EXPECT_TRUE(bytes.has_value()) << path;
  return bytes.value_or("");
}

FeatureSwitches without(Feature feature) {
  FeatureSwitches switches;
  switches.set(feature, false);
  return switches;
}

// The rewritten lines of `script` (LF line ends), without the appended subroutines.
std::string rewrittenLines(const std::string& script, const FeatureSwitches& switches) {
  testing::MemorySource source(script);
  testing::MemorySink sink;
  testing::RecordingConsole console;
  rewriteScript(source, sink, console, switches);
  std::string text = testing::withoutCr(sink.bytes());
  text.resize(text.rfind("REQ_DESCENT:\n"));
  if (text.ends_with("AUTOPILOT:\nRETURN\n")) text.resize(text.size() - 18);
  return text;
}

std::size_t occurrences(std::string_view text, std::string_view marker) {
  std::size_t count = 0;
  for (std::size_t at = text.find(marker); at != std::string_view::npos;
       at = text.find(marker, at + 1)) {
    ++count;
  }
  return count;
}

// Texts that only the rules of one feature write into the script's lines.
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
    {Feature::missedApproach, {"GOSUB MISSED_APP_KEY", "GOTO MISSED_APP2", "(VFLYMISSEDAPP = 1) THEN"}},
    {Feature::altitudeReminders, {"GOSUB COMPUTE_VELOCITY_Y"}},
    {Feature::windAnnouncements, {"GOSUB PLAY_WINDSPD", "IF WIND_SURF_VEL > 0 THEN"}},
    {Feature::radioCalls, {"GOSUB PLAYTRAFFIC", "VRANDOM2 = RANDOM * 100"}},
};

TEST(SwitchedRewrite, EachSwitchRemovesWhatItsRulesWriteIntoTheGoldenScripts) {
  for (const FeatureInfo& info : featureTable()) {
    for (std::string_view marker : kInsertedTexts.at(info.feature)) {
      std::size_t allOn = 0;
      for (const char* path : kGoldenScripts) {
        const std::string script = goldenScript(path);
        allOn += occurrences(rewrittenLines(script, {}), marker);
        EXPECT_EQ(occurrences(rewrittenLines(script, without(info.feature)), marker), 0u)
            << info.name << " off, in " << path << ": " << marker;
      }
      EXPECT_GT(allOn, 0u) << marker << " is in no golden rewrite: the check would prove nothing";
    }
  }
}

// The structure of a script, as far as soundness needs it: labels defined, jump and call targets,
// and the block lines, counted (single-line IF ... THEN statements are no blocks).
struct Structure {
  std::map<std::string, int> labels;
  std::set<std::string> targets;
  int ifs = 0, endIfs = 0, whiles = 0, endWhiles = 0;

  bool ifsPaired() const { return ifs == endIfs; }
  bool whilesPaired() const { return whiles == endWhiles; }
};

Structure structureOf(const std::string& text) {
  Structure structure;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    upcaseAscii(line);
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    const std::string_view code = std::string_view(line).substr(first);
    if (code.ends_with(':') && code.find(' ') == std::string_view::npos) {
      ++structure.labels[std::string(code.substr(0, code.size() - 1))];
    }
    for (std::string_view jump : {"GOTO ", "GOSUB "}) {
      const std::size_t at = code.find(jump);
      if (at == std::string_view::npos) continue;
      const std::string_view target = code.substr(at + jump.size());
      structure.targets.emplace(target.substr(0, target.find(' ')));
    }
    const bool singleLineIf = code.find(" THEN ") != std::string_view::npos;
    structure.ifs += code.starts_with("IF ") && !singleLineIf;
    structure.endIfs += code == "ENDIF";
    structure.whiles += code.starts_with("WHILE ");
    structure.endWhiles += code == "ENDWHILE";
  }
  return structure;
}

// What the switched rewrite breaks that the full rewrite does not: a target only the full rewrite
// defines, a label defined more often (a second definition at all), blocks no longer paired.
std::string faultsAgainst(const Structure& full, const Structure& switched) {
  std::string faults;
  for (const std::string& target : switched.targets) {
    if (!switched.labels.contains(target) && full.labels.contains(target)) {
      faults.append(" jump to undefined ").append(target).append(";");
    }
  }
  for (const auto& [label, count] : switched.labels) {
    const auto inFull = full.labels.find(label);
    if (count > std::max(1, inFull == full.labels.end() ? 0 : inFull->second)) {
      faults.append(" ").append(label).append(" defined ").append(std::to_string(count)).append(
          " times;");
    }
  }
  if (full.ifsPaired() && !switched.ifsPaired()) faults += " IF/ENDIF unpaired;";
  if (full.whilesPaired() && !switched.whilesPaired()) faults += " WHILE/ENDWHILE unpaired;";
  return faults;
}

std::string wholeRewrite(const std::string& script, const FeatureSwitches& switches) {
  testing::MemorySource source(script);
  testing::MemorySink sink;
  testing::RecordingConsole console;
  rewriteScript(source, sink, console, switches);
  return testing::withoutCr(sink.bytes());
}

TEST(SwitchedRewrite, EveryFeatureOffAloneAndAllOffLeaveTheGoldenScriptsAsSoundAsTheFullRewrite) {
  std::vector<FeatureSwitches> switchSets = {allFeaturesOff()};
  for (const FeatureInfo& info : featureTable()) switchSets.push_back(without(info.feature));
  for (const char* path : kGoldenScripts) {
    const std::string script = goldenScript(path);
    const Structure full = structureOf(wholeRewrite(script, {}));
    // The check must see the structure, or it proves nothing.
    ASSERT_GT(full.labels.size(), 5u) << path;
    ASSERT_GT(full.ifs + full.whiles, 5) << path;
    for (const FeatureSwitches& switches : switchSets) {
      const std::string faults = faultsAgainst(full, structureOf(wholeRewrite(script, switches)));
      EXPECT_EQ(faults, "") << path << " with " << switches.switchedOff().size()
                            << " features off, the first "
                            << featureName(switches.switchedOff().front());
    }
  }
}

// The texts of rules that stay on but depend on another switch: the choices made before the first
// line, each against lines that show both versions of the text.
struct Choice {
  const char* what;
  bool RewriteState::*field;
  std::string_view lines;
  std::vector<std::string_view> onlyWhenSet;    // written only while the choice is set
  std::vector<std::string_view> onlyWhenClear;  // written only while it is clear
};

const Choice kChoices[] = {
    {"taxi without withdrawal", &RewriteState::withdrawClearances, "CHECK_IF_MOOVING:\n",
     {"GOTO ENDE", "Cancel", "CANCELED"}, {"    ELSE\n      GOSUB TAXI_VIA\n"}},
    {"runway alignment without withdrawal", &RewriteState::withdrawClearances,
     "CHECK_RWY_ALIGN:\n WHILE NOT INRANGE360(PLANE_HEADING,245,255)\n",
     {"GOTO ENDE", "Cancel", "CANCELED"}, {"    ELSE\n      GOSUB LINE_UP2\n"}},
    {"line-up hold without withdrawal", &RewriteState::withdrawClearances, "LINE_UP:\n",
     {"GOTO ENDE", "Cancel", "LINE-UP CLEARANCE"}, {"StandBy\"\n    VLAT = PLANE_LAT\n"}},
    {"take-off without withdrawal", &RewriteState::withdrawClearances,
     "WHILE ON_GROUND\n WAIT 1\nENDWHILE\n", {"GOTO ENDE", "Cancel", "CANCELED"},
     {"(VMISSCNT = 2) THEN\n   GOSUB PLAYCALL\n   CONTROLLERS\\VOICE1\\FC_N010\"\n"}},
    {"welcome hint without the descent request", &RewriteState::hintAtDescentRequest,
     "WELCOME:\n PRINT\"Press X to see the keys available during this flight\"\n",
     {"FOR REQUESTING DESCENT"},
     {"WAIT MESSAGE\n PRINT\"PRESS X TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT\"\n"}},
    {"approach loop without the forced missed approach", &RewriteState::forcedMissedApproach,
     " WHILE GROUND_DISTANCE(VLAT,VLON) < 6\n", {"GOTO MISSED_APP2", "GOTO DEST_GROUND"},
     {"< 6\n   IF ELAPSED_TIME > VTIMER THEN\n"}},
};

TEST(SwitchedRewrite, ChoicesMadeBeforeTheFirstLineChangeOnlyTheTextsThatDependOnThem) {
  for (const Choice& choice : kChoices) {
    for (bool set : {true, false}) {
      RewriteState state;
      state.*choice.field = set;
      const std::string text =
          testing::rewriteLinesOnly(choice.lines, testing::pastHeader(state)).text;
      for (std::string_view part : choice.onlyWhenSet) {
        EXPECT_EQ(contains(text, part), set) << choice.what << ": " << part << "\n" << text;
      }
      for (std::string_view part : choice.onlyWhenClear) {
        EXPECT_EQ(contains(text, part), !set) << choice.what << ": " << part << "\n" << text;
      }
      EXPECT_TRUE(structureOf(text).ifsPaired()) << choice.what << "\n" << text;
    }
  }
}

}  // namespace
}  // namespace aplpatch
