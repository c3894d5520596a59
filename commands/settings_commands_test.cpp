#include "commands/settings_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "driver/settings_text.h"
#include "testing/fake_platform.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

const std::string kSettings = "/opt/aplpatch/aplpatch.ini";

// The feature list of --settings with every feature on but `off`.
std::string featureList(const std::string& off = "") {
  std::string text = "\nFeatures (off leaves the addition out of every flight):\n";
  for (const FeatureInfo& info : featureTable()) {
    text += "  " + std::string(info.name) + (info.name == off ? " = off\n" : " = on\n");
    text += "      " + std::string(info.explanation) + "\n";
  }
  return text;
}

TEST(SettingsCommands, ShowWhereTheFileIsLookedForWhatItSetsAndEveryProblem) {
  {
    FakePlatform platform;
    EXPECT_EQ(runCommandLine(platform, platform.console(), {"--settings"}), 0);
    EXPECT_EQ(platform.printed(), "aplpatch looks for its settings in " + kSettings +
                                      ": not found. aplpatch --write-settings writes one.\n" + featureList());
  }
  {
    FakePlatform platform;
    std::string text = "[features]\nmissed-approach = off\n";
    for (int i = 0; i < 11; ++i) text += "wind = off\n";
    platform.addFile(kSettings, text);
    EXPECT_EQ(runCommandLine(platform, platform.console(), {"--settings"}), 0);
    std::string expected = "aplpatch looks for its settings in " + kSettings + ": found.\n";
    // Every problem, not only the ten a run shows.
    for (int line = 3; line <= 13; ++line)
      expected += kSettings + " line " + std::to_string(line) + ": unknown feature \"wind\"; ignored\n";
    EXPECT_EQ(platform.printed(), expected + featureList("missed-approach"));
  }
  {
    FakePlatform platform;
    platform.setRunningProgramPath("");
    EXPECT_EQ(runCommandLine(platform, platform.console(), {"--settings"}), 0);
    EXPECT_EQ(platform.printed(),
              "The system does not say where aplpatch is, so no settings file is read.\n" + featureList());
  }
}

TEST(SettingsCommands, WriteAFileThatReadsBackAsEveryFeatureOnAndNeverReplaceOne) {
  FakePlatform platform;
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--write-settings"}), 0);
  EXPECT_EQ(platform.printed(),
            "Wrote " + kSettings + " with every feature on. Set a feature to off there to leave it out.\n");
  const std::string written = platform.file(kSettings).value_or("");
  EXPECT_EQ(written, settingsFileText());
  // Put in place by a move that refuses an existing file, never by a replace.
  EXPECT_NE(std::find(platform.log().begin(), platform.log().end(),
                      "move " + kSettings + ".tmp1 to " + kSettings),
            platform.log().end());

  platform.addFile(kSettings, "mine");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--write-settings"}), 1);
  EXPECT_TRUE(platform.printed().ends_with("Cannot write the settings file: " + kSettings +
                                           " exists already. Nothing was changed.\n"));
  EXPECT_EQ(platform.file(kSettings), "mine");

  FakePlatform folder;
  folder.addFolder(kSettings);
  EXPECT_EQ(runCommandLine(folder, folder.console(), {"--write-settings"}), 1);
  EXPECT_TRUE(folder.files().empty());
}

TEST(SettingsCommands, AWriteThatFailsLeavesNothingBehind) {
  for (Operation operation : {Operation::kCreateForWrite, Operation::kWrite, Operation::kFlushToDisk,
                              Operation::kClose, Operation::kMove}) {
    FakePlatform platform;
    platform.failCall(operation, 1, "Permission denied");
    EXPECT_EQ(runCommandLine(platform, platform.console(), {"--write-settings"}), 1);
    EXPECT_EQ(platform.printed(),
              "Cannot write the settings file: cannot write " + kSettings + ": Permission denied. Nothing was changed.\n");
    EXPECT_TRUE(platform.files().empty()) << platform.files().begin()->first;
  }
}

TEST(SettingsCommands, APreviewGoesByTheFileAndEndsWithTheBriefing) {
  const std::string script = testing::readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("");
  FakePlatform platform;
  platform.addFile("F.APL", script);
  std::string settings = "[features]\r\n";
  for (const FeatureInfo& info : featureTable()) settings += std::string(info.name) + " = off\r\n";
  platform.addFile(kSettings, settings);
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--preview", "F.APL"}), 0);
  const std::string golden = APLPATCH_TESTDATA "/sample_flight_all_off";
  EXPECT_TRUE(platform.console().standardOutputBytes() == testing::readBytes(golden + ".expected.apl"));
  EXPECT_EQ(platform.console().errorOutput(),
            "settings file " + kSettings +
                ": switched off: descent-request, transponder-changes, holding-supervision, approach-tracking, "
                "ground-supervision, clearance-withdrawal, missed-approach, altitude-reminders, "
                "wind-announcements, radio-calls\n" +
                testing::readBytes(golden + ".console.txt").value_or("") +
                testing::readBytes(golden + ".briefing.txt").value_or(""));
  EXPECT_EQ(platform.printed(), "");
}

}  // namespace
}  // namespace aplpatch
