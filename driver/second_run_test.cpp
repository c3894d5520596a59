// A flight patched once is never patched again: a second run, or a script that turns out to be
// patched while it is backed up, hands the script on as it is and leaves the backups alone.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "driver/backup_copy.h"
#include "driver/run_patch.h"
#include "testing/fake_platform.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;

// Every file of the fake but the run's log, which each run writes anew.
std::map<std::string, std::string> filesButTheLog(const FakePlatform& platform) {
  std::map<std::string, std::string> files = platform.files();
  // The logs are written and kept on every run: the newest and the generations before it.
  std::erase_if(files, [](const auto& file) { return file.first.starts_with("apl/F.APL.") && file.first.ends_with(".log"); });
  return files;
}

TEST(SecondRun, LeavesEveryGoldenFlightAndItsBackupsByteForByte) {
  const std::vector<std::string> flights = {
      APLPATCH_TESTDATA "/crewless_flight.apl", APLPATCH_TESTDATA "/departure_and_landing.apl",
      APLPATCH_TESTDATA "/flight_section.apl", APLPATCH_TESTDATA "/holding_and_approach.apl",
      APLPATCH_EXAMPLE_SCRIPT};
  for (const std::string& flight : flights) {
    SCOPED_TRACE(flight);
    std::optional<std::string> generated = testing::readBytes(flight);
    ASSERT_TRUE(generated) << "the flight is missing";
    FakePlatform platform;
    platform.addFile("F.APL", *generated);
    ASSERT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    const std::map<std::string, std::string> afterFirst = filesButTheLog(platform);
    ASSERT_EQ(afterFirst.at("apl/F.APL"), *generated);
    ASSERT_NE(afterFirst.at("F.APL"), *generated);

    const std::size_t printedBefore = platform.printed().size();
    ASSERT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), 0);
    EXPECT_EQ(platform.printed().substr(printedBefore),
              "TALKRADAR patch started...\n"
              "saving old generated APL file F.APL ...\n"
              "F.APL is already patched: handed to the compiler unchanged.\n"
              "running original ADV generator...\n");
    EXPECT_TRUE(filesButTheLog(platform) == afterFirst) << "a file changed on the second run";
    EXPECT_EQ(platform.filesWhenRun().at("F.APL"), afterFirst.at("F.APL"));
  }
}

TEST(SecondRun, ABackupIsNeverReplacedByAPatchedScript) {
  const std::string line = "DESCRIPTION \"PATCHED BY JM\"";
  struct Case {
    const char* what;
    std::string source;
    bool refused;
  };
  const std::vector<Case> cases = {
      {"the line late, CR LF", "START:\r\nWAIT 1\r\n" + line + "\r\nENDE:\r\n", true},
      {"the line last, LF", "START:\n" + line + "\n", true},
      {"the text inside a line", "PRINT " + line + "\r\n", false},
      {"the line without its line end", "START:\r\n" + line, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.addFile("F.APL", c.source);
    platform.addFile("apl/F.APL", "the host's original");
    platform.setReadChunk(5);
    Opened<ReadFile> source = platform.openForRead("F.APL");
    bool patched = false;
    Status status = writeBackup(platform, *source.file, "apl/F.APL", 0644, &patched);
    EXPECT_EQ(patched, c.refused);
    EXPECT_EQ(status.ok(), !c.refused);
    EXPECT_EQ(platform.file("apl/F.APL"), c.refused ? "the host's original" : c.source);
    EXPECT_EQ(platform.temporaries(), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace aplpatch
