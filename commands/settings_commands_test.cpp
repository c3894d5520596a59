#include "commands/settings_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "commands/commands.h"
#include "driver/settings_text.h"
#include "testing/fake_platform.h"
#include "testing/test_support.h"
#include "testing/test_files.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

const std::string kSettings = "/opt/aplpatch/aplpatch.ini";

TEST(SettingsCommands, ShowWhereTheFileIsEveryProblemAndEveryValue) {
  FakePlatform platform;
  platform.addFile(kSettings, "[features]\nmissed-approach = off\nwind = off\n");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--settings"}), 0);
  EXPECT_TRUE(platform.printed().starts_with("aplpatch looks for its settings in " + kSettings + ": found.\n" +
                                             kSettings + " line 3: unknown feature \"wind\"; ignored\n\n"))
      << platform.printed();
  EXPECT_NE(platform.printed().find("\n  missed-approach = off\n      A key flies"), std::string::npos);
}

TEST(SettingsCommands, WriteAFileWhereThereIsNoneAndNeverLeaveAPartOne) {
  FakePlatform platform;
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--write-settings"}), 0);
  EXPECT_EQ(platform.file(kSettings), settingsFileText());
  EXPECT_EQ(platform.log().end()[-3], "move " + kSettings + ".tmp1 to " + kSettings) << "never a replace";
  platform.addFile(kSettings, "mine");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--write-settings"}), 1);
  EXPECT_TRUE(platform.printed().ends_with("Cannot write the settings file: " + kSettings +
                                           " exists already. Nothing was changed.\n"));
  EXPECT_EQ(platform.file(kSettings), "mine");

  for (Operation operation : {Operation::kWrite, Operation::kMove}) {
    FakePlatform failing;
    failing.failCall(operation, 1, StatusCode::accessRefused, "Permission denied");
    EXPECT_EQ(runCommandLine(failing, failing.console(), {"--write-settings"}), 1);
    EXPECT_EQ(failing.printed(), "Cannot write the settings file: cannot write " + kSettings +
                                     ": Permission denied. Nothing was changed.\n");
    EXPECT_TRUE(failing.files().empty());
  }

  // A file that appears between the look and the move is told by the move's own refusal.
  FakePlatform raced;
  raced.failCall(Operation::kMove, 1, StatusCode::alreadyExists, "File exists");
  EXPECT_EQ(runCommandLine(raced, raced.console(), {"--write-settings"}), 1);
  EXPECT_EQ(raced.printed(), "Cannot write the settings file: " + kSettings + " exists already. Nothing was changed.\n");
  EXPECT_TRUE(raced.files().empty());
}

TEST(SettingsCommands, APreviewGoesByTheFileAndEndsWithTheBriefing) {
  FakePlatform platform;
  platform.addFile("F.APL", testing::readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or(""));
  platform.addFile(kSettings, settingsFileText(testing::allFeaturesOff()));
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--preview", "F.APL"}), 0);
  const std::string golden = APLPATCH_TESTDATA "/sample_flight_all_off";
  EXPECT_TRUE(platform.console().standardOutputBytes() == testing::readBytes(golden + ".expected.apl"));
  const std::string& messages = platform.console().errorOutput();
  EXPECT_TRUE(messages.starts_with("settings file " + kSettings + ": switched off: descent-request, ")) << messages;
  EXPECT_TRUE(messages.ends_with(testing::readBytes(golden + ".console.txt").value_or("") +
                                 testing::readBytes(golden + ".briefing.txt").value_or("")));
}

}  // namespace
}  // namespace aplpatch
