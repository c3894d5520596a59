// Every golden script and its full rewrite (the expected one, read from testdata/), read with the
// checker attached to both streams as a run would attach it; and the rewrites mutated, to show
// that each kind of problem is found in them.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "structure/scanning_streams.h"
#include "structure/structure_check.h"
#include "structure/structure_compare.h"
#include "testing/memory_streams.h"
#include "testing/structure_test_summary.h"
#include "testing/test_files.h"
#include "testing/variant_soundness.h"

namespace aplpatch {
namespace {

using Lines = std::vector<std::string>;

const std::string kSourceDir = APLPATCH_SOURCE_DIR;

// A golden set, and what its full rewrite adds to the structure of the script as it is today. The
// scripts are sections of flights: they lack subroutines that the inserted text calls (PLAYID,
// PLAY_ALTITUDE, …), so a rewrite adds calls to nowhere. The example flight's rewrite also defines
// the runway-vacating labels twice (the finish-stop and the checklist entry both get the block) and
// a second MISSED_APP2, and its holding and approach blocks leave an ENDIF, and an ELSE with its
// ENDIF, without their IF.
struct GoldenSet {
  const char* name;
  const char* script;  // relative to the source folder
  std::vector<std::string> faults;
};

void PrintTo(const GoldenSet& set, std::ostream* out) { *out << set.name; }

const GoldenSet kSets[] = {
    {"sample_flight",
     "examples/sample_flight.apl",
     {"line 569: ENDIF without an open IF below label HOLDFIX_BC",
      "line 627: ELSE or ELSEIF outside an IF block below label APPROACH",
      "line 629: ENDIF without an open IF below label APPROACH",
      "line 752: label TEST1 is defined twice (lines 721 and 752), in the generated script not at all",
      "line 756: label TEST2 is defined twice (lines 725 and 756), in the generated script not at all",
      "line 779: label TEST3 is defined twice (lines 748 and 779), in the generated script not at all",
      "line 809: label MISSED_APP2 is defined twice (lines 794 and 809), in the generated script once",
      "line 874: GOSUB PLAYID, a label that the script does not define"}},
    {"crewless_flight",
     "testdata/crewless_flight.apl",
     {"line 86: GOSUB PLAY_COURSE, a label that the script does not define",
      "line 92: GOSUB PLAYTRAFFIC, a label that the script does not define",
      "line 95: ELSE or ELSEIF outside an IF block below label PLAYCALL",
      "line 97: ENDIF without an open IF below label PLAYCALL",
      "line 132: GOSUB CHECK_TAKEOFF_CLR, a label that the script does not define",
      "line 151: GOSUB PLAYID, a label that the script does not define",
      "line 156: GOSUB PLAY_ALTITUDE, a label that the script does not define"}},
    {"departure_and_landing",
     "testdata/departure_and_landing.apl",
     {"line 61: GOTO WAIT_FINALSTOP, a label that the script does not define",
      "line 80: GOSUB TAXI_VIA, a label that the script does not define",
      "line 87: GOTO ENDE, a label that the script does not define (named 4 times, at lines 87, 124, 146 and "
      "174)",
      "line 118: GOSUB CHECK_TAKEOFF_CLR, a label that the script does not define",
      "line 249: GOSUB PLAYID, a label that the script does not define",
      "line 254: GOSUB PLAY_ALTITUDE, a label that the script does not define"}},
    {"flight_section",
     "testdata/flight_section.apl",
     {"line 93: GOSUB PLAYID, a label that the script does not define"}},
    {"holding_and_approach",
     "testdata/holding_and_approach.apl",
     {"line 203: GOTO MISSED_APP2, a label that the script does not define",
      "line 205: GOTO DEST_GROUND, a label that the script does not define",
      "line 255: GOSUB PLAYID, a label that the script does not define"}},
};

std::string readSource(const std::string& path) {
  const std::optional<std::string> bytes = testing::readBytes(kSourceDir + "/" + path);
  EXPECT_TRUE(bytes.has_value()) << "cannot read " << path;
  return bytes.value_or("");
}

std::string expectedRewrite(const GoldenSet& set) {
  return readSource(std::string("testdata/") + set.name + ".expected.apl");
}

class GoldenStructure : public ::testing::TestWithParam<GoldenSet> {};

// The checker attached to both streams changes no byte of the rewrite, sees exactly what a scan of
// the script and of the rewrite afterwards sees, and finds what the rewrite adds.
TEST_P(GoldenStructure, IsCheckedAsTheRewriteGoesBy) {
  const GoldenSet& set = GetParam();
  const std::string script = readSource(set.script);
  ScriptStructure generated;
  ScriptStructure rewritten;
  testing::MemorySource bytesIn(script, 4096);
  testing::MemorySink bytesOut;
  ScanningSource source(bytesIn, generated);
  ScanningSink sink(bytesOut, rewritten);
  ASSERT_TRUE(testing::replayRewrite(source, sink, expectedRewrite(set)));
  source.finish();
  sink.finish();

  EXPECT_EQ(bytesOut.bytes(), expectedRewrite(set));
  EXPECT_EQ(testing::fullSummary(generated), testing::fullSummary(scanScript(script)));
  EXPECT_EQ(testing::fullSummary(rewritten), testing::fullSummary(scanScript(bytesOut.bytes())));
  EXPECT_GT(rewritten.lines(), generated.lines());
  EXPECT_EQ(rewriteFaults(generated, rewritten), set.faults);
}

// The run's check finds what the scanned structures show and changes no byte.
TEST_P(GoldenStructure, IsCheckedAsTheRewritePasses) {
  const GoldenSet& set = GetParam();
  StructureCheck check;
  testing::MemorySource bytesIn(readSource(set.script), 4096);
  testing::MemorySink bytesOut;
  ASSERT_TRUE(testing::replayRewrite(check.watchInput(bytesIn), check.watchOutput(bytesOut), expectedRewrite(set)));
  EXPECT_EQ(bytesOut.bytes(), expectedRewrite(set));
  EXPECT_EQ(check.faults(), set.faults);
}

// Each kind of problem, brought into a full rewrite, is found against the full rewrite.
TEST_P(GoldenStructure, FindsEveryKindOfProblemBroughtIntoTheRewrite) {
  const std::string full = expectedRewrite(GetParam());
  const VariantSoundness reference(readSource(GetParam().script), full);
  EXPECT_EQ(reference.unsoundIn(full), Lines{});

  // The script without its last line that holds `word` alone (indented or not): taking the last
  // closer away leaves its block open, where an earlier one might pair with a stray closer after it.
  auto withoutLast = [&](const std::string& word) -> std::optional<std::string> {
    const std::string line = word + "\r\n";
    for (std::size_t end = full.rfind(line); end != std::string::npos && end > 0; end = full.rfind(line, end - 1)) {
      std::size_t start = end;
      while (start > 0 && full[start - 1] == ' ') --start;
      if (start == 0 || full[start - 1] == '\n') return full.substr(0, start) + full.substr(end + line.size());
    }
    return std::nullopt;
  };
  const std::size_t firstLabelEnd = full.find(":\r\n") + 3;
  const std::size_t firstLabelStart = full.rfind('\n', firstLabelEnd - 4) + 1;
  const std::string firstLine = full.substr(0, full.find('\n') + 1);
  const std::string afterFirstLine = full.substr(firstLine.size());
  struct Mutation {
    std::optional<std::string> script;
    const char* finding;
  };
  const Mutation mutations[] = {
      {withoutLast("ENDIF"), "IF without ENDIF"},
      {withoutLast("ENDWHILE"), "WHILE without ENDWHILE"},
      {full.substr(0, firstLabelEnd) + full.substr(firstLabelStart), "is defined twice"},
      {firstLine + " GOTO NOWHERE\r\n" + afterFirstLine, "GOTO NOWHERE, a label that the script does not define"},
      {firstLine + "ENDIF\r\n" + afterFirstLine, "ENDIF without an open IF"},
      {firstLine + "ENDWHILE\r\n" + afterFirstLine, "ENDWHILE without an open WHILE"},
      {firstLine + "ELSE\r\n" + afterFirstLine, "ELSE or ELSEIF outside an IF block"},
      {firstLine + "WHILE X\r\n" + afterFirstLine + "ENDWHILE\r\n", "comes after the entry of subroutine"},
  };
  for (const Mutation& mutation : mutations) {
    if (!mutation.script.has_value()) continue;  // nothing of the kind to take away in this set
    const Lines found = reference.unsoundIn(*mutation.script);
    ASSERT_EQ(found.size(), 1u) << mutation.finding << "\n" << ::testing::PrintToString(found);
    EXPECT_NE(found[0].find(mutation.finding), std::string::npos) << found[0];
  }
}

INSTANTIATE_TEST_SUITE_P(Testdata, GoldenStructure, ::testing::ValuesIn(kSets),
                         [](const ::testing::TestParamInfo<GoldenSet>& set) { return std::string(set.param.name); });

}  // namespace
}  // namespace aplpatch
