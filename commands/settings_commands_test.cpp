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

const std::string kOwn = "/home/p/.config/aplpatch/aplpatch.ini";

TEST(SettingsCommands, ShowBothPlacesTheOneInUseEveryProblemAndEveryValue) {
  FakePlatform platform;
  platform.setUserFolders("/home/p/.config", "/home/p/.local/state");
  platform.addFile(kSettings, "[features]\nmissed-approach = off\nwind = off\n");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--settings"}), 0);
  EXPECT_TRUE(platform.printed().starts_with(
      "aplpatch reads the first of these settings files that is there:\n"
      "  your own: " + kOwn + " (not there)\n"
      "  beside the program: " + kSettings + " (there)\n"
      "In use: " + kSettings + "\n" +
      kSettings + " line 3: unknown feature \"wind\" (did you mean wind-announcements?); ignored\n\n"))
      << platform.printed();
  EXPECT_NE(platform.printed().find("\n  missed-approach = off\n      A key flies"), std::string::npos);

  FakePlatform none;
  EXPECT_EQ(runCommandLine(none, none.console(), {"--settings"}), 0);
  EXPECT_TRUE(none.printed().starts_with(
      "aplpatch reads the first of these settings files that is there:\n"
      "  your own: the system does not say where it is\n"
      "  beside the program: " + kSettings + " (not there)\n"
      "In use: none, so every feature is on. aplpatch --write-settings writes your own.\n\n"))
      << none.printed();
}

TEST(SettingsCommands, ShowAndWriteTheRunSettingsWithTheirExplanations) {
  FakePlatform platform;
  platform.addFile(kSettings, "[run]\nfallback = off\n");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--settings"}), 0);
  EXPECT_TRUE(platform.printed().ends_with(
      "\nRun settings ([run]):\n"
      "  fallback = off\n"
      "      When the compiler rejects the rewritten flight, compile the flight as generated instead.\n"
      "  patch = on\n"
      "      Off hands every flight to the compiler as generated, without any addition (a backup is still made).\n"))
      << platform.printed();
  EXPECT_TRUE(settingsFileText().ends_with("\r\n[run]\r\n"
                                           "\r\n; When the compiler rejects the rewritten flight, compile the flight "
                                           "as generated instead.\r\nfallback = on\r\n"
                                           "\r\n; Off hands every flight to the compiler as generated, without any "
                                           "addition (a backup is still made).\r\npatch = on\r\n"));
}

TEST(SettingsCommands, WriteThePilotsOwnFileKeepingWhatTheProgramsFileSetsAndNeverLeaveAPartOne) {
  FakePlatform platform;
  platform.setUserFolders("/home/p/.config", "");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--write-settings"}), 0);
  EXPECT_EQ(platform.file(kOwn), settingsFileText());
  EXPECT_TRUE(platform.hasFolder("/home/p/.config") && platform.hasFolder("/home/p/.config/aplpatch"));
  EXPECT_EQ(platform.printed(), "Wrote " + kOwn + " with every feature on. Set a feature to off there to leave it out.\n");
  platform.addFile(kOwn, "mine");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--write-settings"}), 1);
  EXPECT_TRUE(platform.printed().ends_with("Cannot write the settings file: " + kOwn +
                                           " exists already. Nothing was changed.\n"));
  EXPECT_EQ(platform.file(kOwn), "mine");

  // Read in place of the installer's file from now on, so it starts from what that one sets.
  FakePlatform installed;
  installed.setUserFolders("/home/p/.config", "");
  installed.addFolder("/home/p/.config");
  installed.addFile(kSettings, "[features]\nradio-calls = off\n");
  EXPECT_EQ(runCommandLine(installed, installed.console(), {"--write-settings"}), 0);
  FeatureSwitches radioOff;
  radioOff.set(Feature::radioCalls, false);
  EXPECT_EQ(installed.file(kOwn), settingsFileText(radioOff));
  EXPECT_EQ(installed.printed(), "Wrote " + kOwn + " with the features of " + kSettings +
                                     " (off: radio-calls). Set a feature to off there to leave it out.\n"
                                     "It is read from now on, in place of " + kSettings + ".\n");

  for (Operation operation : {Operation::kWrite, Operation::kMove}) {
    FakePlatform failing;
    failing.setUserFolders("/home/p/.config", "");
    failing.failCall(operation, 1, StatusCode::accessRefused, "Permission denied");
    EXPECT_EQ(runCommandLine(failing, failing.console(), {"--write-settings"}), 1);
    EXPECT_EQ(failing.printed(), "Cannot write the settings file: cannot write " + kOwn +
                                     ": Permission denied. Nothing was changed.\n");
    EXPECT_TRUE(failing.files().empty());
  }
  FakePlatform noFolder;
  noFolder.setUserFolders("/home/p/.config", "");
  noFolder.addFolder("/home/p/.config");
  noFolder.failCall(Operation::kMakeFolder, 1, "Read-only file system");
  EXPECT_EQ(runCommandLine(noFolder, noFolder.console(), {"--write-settings"}), 1);
  EXPECT_EQ(noFolder.printed(), "Cannot write the settings file: cannot create folder /home/p/.config/aplpatch: "
                                "Read-only file system. Nothing was changed.\n");
  FakePlatform nowhere;
  EXPECT_EQ(runCommandLine(nowhere, nowhere.console(), {"--write-settings"}), 1);
  EXPECT_EQ(nowhere.printed(), "Cannot write the settings file: the system does not say where your own settings "
                               "go. Nothing was changed.\n");

  // A file that appears between the look and the move is told by the move's own refusal.
  FakePlatform raced;
  raced.setUserFolders("/home/p/.config", "");
  raced.failCall(Operation::kMove, 1, StatusCode::alreadyExists, "File exists");
  EXPECT_EQ(runCommandLine(raced, raced.console(), {"--write-settings"}), 1);
  EXPECT_EQ(raced.printed(), "Cannot write the settings file: " + kOwn + " exists already. Nothing was changed.\n");
  EXPECT_EQ(raced.file(kOwn), std::nullopt);
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
