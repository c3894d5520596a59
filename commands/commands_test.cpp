#include "commands/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testing/fake_platform.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;

TEST(Commands, HelpAndVersionSayWhatTheProgramIsAndChangeNothing) {
  for (std::vector<std::string> arguments : {std::vector<std::string>{"--help"}, {"-h"}}) {
    FakePlatform platform;
    EXPECT_EQ(runCommandLine(platform, platform.console(), arguments), 0);
    const std::string& help = platform.printed();
    EXPECT_TRUE(help.starts_with("aplpatch " APLPATCH_VERSION ": ")) << help;
    for (const char* part : {"aplpatch -e SCRIPT\n", "aplpatch --preview SCRIPT\n", "aplpatch --install COMPILER\n",
                             "aplpatch --uninstall COMPILER\n", "aplpatch --version\n", "SCRIPT.log",
                             "aplpatch --settings\n", "aplpatch --write-settings\n", "aplpatch.ini"}) {
      EXPECT_NE(help.find(part), std::string::npos) << part;
    }
    EXPECT_TRUE(platform.files().empty());
  }
  FakePlatform platform;
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--version"}), 0);
  EXPECT_EQ(platform.log(), std::vector<std::string>{"print: aplpatch " APLPATCH_VERSION});
}

TEST(Commands, EveryOtherCommandLineIsStillTheWrongOne) {
  const std::vector<std::vector<std::string>> commandLines = {
      {"-e", "F.APL", "third"}, {"--help", "x"}, {"--version", "--help"}, {"--preview"},
      {"--install"},            {"--HELP"},      {"/?"},                  {"--preview", "F.APL", "x"},
      {"--settings", "x"},      {"--write-settings", "F.INI"},
  };
  for (const std::vector<std::string>& arguments : commandLines) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    FakePlatform platform;
    EXPECT_EQ(runCommandLine(platform, platform.console(), arguments), -1);
    ASSERT_EQ(platform.log().size(), 2u);
    EXPECT_EQ(platform.log()[0], "print: Program for only use with TALKRADAR.");
    EXPECT_TRUE(platform.log()[1].ends_with("aplpatch --help shows every command.")) << platform.log()[1];
  }
  // Windows writes options with a slash.
  FakePlatform windows(kWindowsPathStyle);
  EXPECT_EQ(runCommandLine(windows, windows.console(), {"/?"}), 0);
  EXPECT_TRUE(windows.printed().starts_with("aplpatch " APLPATCH_VERSION ": "));
}

std::string fileText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
}

std::string example() { return fileText(APLPATCH_EXAMPLE_SCRIPT); }

TEST(Commands, PreviewShowsExactlyWhatARunPutsInPlaceAndTouchesNothing) {
  const std::string script = example();
  ASSERT_FALSE(script.empty());
  FakePlatform run;
  run.addFile("F.APL", script);
  ASSERT_EQ(runCommandLine(run, run.console(), {"-e", "F.APL"}), 0);

  FakePlatform preview;
  preview.addFile("F.APL", script);
  preview.setReadChunk(1000);
  EXPECT_EQ(runCommandLine(preview, preview.console(), {"--preview", "F.APL"}), 0);
  EXPECT_EQ(preview.console().standardOutputBytes(), run.file("F.APL"));
  // The rules' messages, then the flight's briefing.
  EXPECT_EQ(preview.console().errorOutput(),
            testing::rewriteWhole(script).console + fileText(APLPATCH_TESTDATA "/sample_flight.briefing.txt"));
  EXPECT_EQ(preview.printed(), "");
  EXPECT_EQ(preview.files().size(), 1u);
  EXPECT_EQ(preview.file("F.APL"), script);
  for (const std::string& entry : preview.log()) {
    EXPECT_TRUE(entry == "open F.APL for reading" || entry == "rewind F.APL" || entry == "close F.APL" ||
                entry.starts_with("error: "))
        << entry;
  }

  // A script that is patched already is shown as it is, as a run would leave it.
  FakePlatform again;
  again.addFile("F.APL", *run.file("F.APL"));
  EXPECT_EQ(runCommandLine(again, again.console(), {"--preview", "F.APL"}), 0);
  EXPECT_EQ(again.console().standardOutputBytes(), run.file("F.APL"));
  EXPECT_EQ(again.console().errorOutput(), "F.APL is already patched: a run hands it to the compiler unchanged.\n");
}

TEST(Commands, PreviewSaysWhyItCannotReadTheScript) {
  FakePlatform platform;
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--preview", "F.APL"}), 1);
  EXPECT_EQ(platform.console().errorOutput(), "Cannot open F.APL: No such file or directory\n");
  EXPECT_EQ(platform.console().standardOutputBytes(), "");

  platform.addFile("F.APL", example());
  platform.failCall(testing::Operation::kRead, 2, "Input/output error");
  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--preview", "F.APL"}), 1);
  EXPECT_TRUE(platform.console().errorOutput().ends_with("Cannot read F.APL: Input/output error\n"));
}

}  // namespace
}  // namespace aplpatch
