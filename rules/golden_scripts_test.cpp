// Whole scripts through the whole rewrite, compared with the expected rewrite, console text and
// briefing kept in testdata/. With APLPATCH_UPDATE_GOLDEN=1 in the environment the expected files
// are written from the current program instead of compared, so that a change shows as a plain diff.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>

#include "rules/briefing.h"
#include "rules/rewrite_script.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;

// A script and its expectations: `testdata/<name>.expected.apl` holds the rewrite byte for byte
// (CR LF line ends), `testdata/<name>.console.txt` what the rules print and
// `testdata/<name>.briefing.txt` the flight's briefing.
struct GoldenSet {
  const char* name;
  const char* script;  // relative to the source folder
  bool everyFeatureOff = false;  // otherwise every feature is on
};

constexpr GoldenSet kSets[] = {
    {"sample_flight", "examples/sample_flight.apl"},
    {"crewless_flight", "testdata/crewless_flight.apl"},
    {"departure_and_landing", "testdata/departure_and_landing.apl"},
    {"flight_section", "testdata/flight_section.apl"},
    {"holding_and_approach", "testdata/holding_and_approach.apl"},
    {"sample_flight_all_off", "examples/sample_flight.apl", true},
};

// Names the set in the test's messages.
void PrintTo(const GoldenSet& set, std::ostream* out) { *out << set.name; }

const fs::path kSourceDir = APLPATCH_SOURCE_DIR;
const fs::path kTestdata = kSourceDir / "testdata";

bool updating() {
  const char* flag = std::getenv("APLPATCH_UPDATE_GOLDEN");
  return flag != nullptr && std::string_view(flag) == "1";
}

fs::path expectedRewritePath(const GoldenSet& set) {
  return kTestdata / (std::string(set.name) + ".expected.apl");
}

fs::path expectedConsolePath(const GoldenSet& set) {
  return kTestdata / (std::string(set.name) + ".console.txt");
}

fs::path expectedBriefingPath(const GoldenSet& set) {
  return kTestdata / (std::string(set.name) + ".briefing.txt");
}

class GoldenScript : public ::testing::TestWithParam<GoldenSet> {};

TEST_P(GoldenScript, IsRewrittenToTheExpectedBytesConsoleTextAndBriefing) {
  const GoldenSet& set = GetParam();
  const std::optional<std::string> script = testing::readBytes(kSourceDir / set.script);
  ASSERT_TRUE(script.has_value()) << "cannot read " << set.script;
  ASSERT_FALSE(script->empty()) << set.script;

  testing::MemorySource source(*script);
  testing::MemorySink sink;
  testing::RecordingConsole console;
  const FeatureSwitches switches = set.everyFeatureOff ? testing::allFeaturesOff() : FeatureSwitches{};
  const RewriteReport report = rewriteScript(source, sink, console, switches);
  ASSERT_TRUE(report.written);
  const std::string briefing = flightBriefing(report);
  if (!set.everyFeatureOff) {
    // Every feature on is the rewrite without switches, byte for byte and line for line.
    testing::MemorySource again(*script);
    testing::MemorySink plain;
    testing::RecordingConsole plainConsole;
    ASSERT_TRUE(testing::rewriteScript(again, plain, plainConsole));
    EXPECT_TRUE(plain.bytes() == sink.bytes()) << "all on differs from the plain rewrite";
    EXPECT_EQ(plainConsole.text(), console.text());
  }

  if (updating()) {
    ASSERT_TRUE(testing::writeBytes(expectedRewritePath(set), sink.bytes()));
    ASSERT_TRUE(testing::writeBytes(expectedConsolePath(set), console.text()));
    ASSERT_TRUE(testing::writeBytes(expectedBriefingPath(set), briefing));
    GTEST_SKIP() << "wrote the expected files of " << set.name;
  }

  const std::optional<std::string> rewrite = testing::readBytes(expectedRewritePath(set));
  const std::optional<std::string> consoleText = testing::readBytes(expectedConsolePath(set));
  const std::optional<std::string> briefingText = testing::readBytes(expectedBriefingPath(set));
  ASSERT_TRUE(rewrite.has_value() && consoleText.has_value() && briefingText.has_value())
      << "the set " << set.name << " lacks an expected file; APLPATCH_UPDATE_GOLDEN=1 writes them";
  EXPECT_EQ(briefing, *briefingText);

  // The texts first, so that a failure shows the lines that differ; then the line ends.
  const std::string text = testing::withoutCr(sink.bytes());
  EXPECT_EQ(text, testing::withoutCr(*rewrite));
  if (text == testing::withoutCr(*rewrite)) {
    EXPECT_EQ(sink.bytes(), *rewrite) << "the line ends differ";
  }
  EXPECT_EQ(console.text(), *consoleText);
}

INSTANTIATE_TEST_SUITE_P(Testdata, GoldenScript, ::testing::ValuesIn(kSets),
                         [](const ::testing::TestParamInfo<GoldenSet>& set) {
                           return std::string(set.param.name);
                         });

// Files added to the folder but not listed above would never be compared.
TEST(GoldenScripts, EveryFileInTestdataBelongsToAListedSet) {
  std::set<fs::path> listed;
  for (const GoldenSet& set : kSets) {
    listed.insert((kSourceDir / set.script).lexically_normal());
    listed.insert(expectedRewritePath(set).lexically_normal());
    listed.insert(expectedConsolePath(set).lexically_normal());
    listed.insert(expectedBriefingPath(set).lexically_normal());
  }
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(kTestdata, error)) {
    EXPECT_TRUE(listed.count(entry.path().lexically_normal())) << entry.path() << " is in no set";
  }
  EXPECT_FALSE(error) << "cannot list " << kTestdata << ": " << error.message();
}

}  // namespace
}  // namespace aplpatch
