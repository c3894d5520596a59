#include "commands/guided_start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/commands.h"
#include "commands/install.h"
#include "driver/last_run.h"
#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;

const std::string kRefusal = "print: Program for only use with TALKRADAR.";

TEST(GuidedStart, EveryWrongCommandLineIsRefusedAsBeforeThenPointedAtTheHelp) {
  const struct {
    std::vector<std::string> arguments;
    std::string hint;
  } cases[] = {
      {{"--hlep"}, "Did you mean aplpatch --help? aplpatch --help shows every command."},
      {{"--HELP"}, "Did you mean aplpatch --help? aplpatch --help shows every command."},
      {{"--instal", "C.EXE"}, "Did you mean aplpatch --install COMPILER? aplpatch --help shows every command."},
      {{"--install"}, "Usage: aplpatch --install COMPILER. aplpatch --help shows every command."},
      {{"-e", "F.APL", "x"}, "Usage: aplpatch -e SCRIPT. aplpatch --help shows every command."},
      {{"-E", "F.APL"}, "Did you mean aplpatch -e SCRIPT? aplpatch --help shows every command."},
      {{"F.APL"}, "aplpatch --help shows every command."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    FakePlatform platform;
    EXPECT_EQ(runCommandLine(platform, platform.console(), c.arguments), -1);
    EXPECT_EQ(platform.log(), (std::vector<std::string>{kRefusal, "print: " + c.hint}));
  }
  // An installed copy goes by the compiler's name.
  FakePlatform installed(kWindowsPathStyle);
  installed.setRunningProgramPath("C:\\Host\\Compiler.EXE");
  EXPECT_EQ(runCommandLine(installed, installed.console(), {"--install"}), -1);
  EXPECT_EQ(installed.printed(), "Program for only use with TALKRADAR.\n"
                                 "Usage: Compiler --install COMPILER. Compiler --help shows every command.\n");
}

TEST(GuidedStart, NoArgumentsGiveTheGuideAndAWindowOfItsOwnWaitsForEnter) {
  for (bool ownWindow : {false, true}) {
    FakePlatform platform;
    if (ownWindow) platform.console().setTypedLines({""}, true);
    EXPECT_EQ(runCommandLine(platform, platform.console(), {}), -1);
    const std::string& printed = platform.printed();
    EXPECT_TRUE(printed.starts_with("Program for only use with TALKRADAR.\n\naplpatch rewrites")) << printed;
    EXPECT_NE(printed.find("\n  aplpatch --install \"PATH TO THE COMPILER\"\n"), std::string::npos);
    EXPECT_NE(printed.find(".\\aplpatch --install"), std::string::npos) << "PowerShell needs it";
    EXPECT_NE(printed.find("\nEvery command: aplpatch --help\n"), std::string::npos);
    EXPECT_EQ(printed.ends_with("Press Enter to close.\n"), ownWindow);
    EXPECT_EQ(platform.log().back() == "read: ", ownWindow);
  }
}

TEST(GuidedStart, ACompilerDroppedOnTheProgramIsInstalledOnYesOnly) {
  const std::string compiler = "/host/Compiler.exe";
  const struct {
    std::vector<std::string> typed;
    bool interactive;
    bool installed;
  } cases[] = {
      {{"y"}, true, true}, {{" YES "}, true, true}, {{"n"}, true, false}, {{}, true, false}, {{"y"}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.typed));
    FakePlatform platform;
    platform.addFile(compiler, "the compiler");
    platform.addFile("/opt/aplpatch/aplpatch", std::string(installMarker()));
    if (c.interactive) platform.console().setTypedLines(c.typed);
    EXPECT_EQ(runCommandLine(platform, platform.console(), {compiler}), -1) << "a wrong command line all the same";
    EXPECT_EQ(platform.log()[0], kRefusal);
    EXPECT_EQ(platform.file("/host/aplc2.exe").has_value(), c.installed) << platform.printed();
    if (!c.interactive) {
      EXPECT_EQ(platform.log().size(), 2u);
      continue;
    }
    EXPECT_NE(platform.printed().find("\n" + compiler + " was dropped on aplpatch. Installing aplpatch in front of "
                                      "it\nrenames it to /host/aplc2.exe and puts a copy of aplpatch in its place"),
              std::string::npos)
        << platform.printed();
    EXPECT_EQ(platform.printed().ends_with("Nothing was installed.\n"), !c.installed);
  }
  // aplpatch itself, or a file that is no program, is no compiler to install in front of.
  for (std::string dropped : {"/opt/aplpatch/aplpatch.exe", "/host/notes.txt", "/host/missing.exe"}) {
    FakePlatform platform;
    platform.addFile("/opt/aplpatch/aplpatch.exe", std::string(installMarker()));
    platform.addFile("/host/notes.txt", "text");
    platform.console().setTypedLines({"y"});
    EXPECT_EQ(runCommandLine(platform, platform.console(), {dropped}), -1);
    EXPECT_EQ(platform.printed(), "Program for only use with TALKRADAR.\naplpatch --help shows every command.\n")
        << dropped;
  }
}

TEST(StatusCommand, SaysTheVersionTheInstallTheSettingsAndTheLastRun) {
  FakePlatform platform(kWindowsPathStyle);
  platform.setRunningProgramPath("C:\\Host\\Compiler.exe");
  platform.setUserFolders("C:\\Users\\p\\AppData\\Roaming", "C:\\Users\\p\\AppData\\Local");
  platform.addFile("C:\\Host\\aplc2.exe", "the compiler");
  platform.addFile("C:\\Host\\aplpatch.ini", "radio-calls = off\nwind = off\n");
  platform.console().setTypedLines({""}, true);
  LastRun run{"2026-03-01T14:05:09", "C:\\Host\\F.APL", "rewritten, compiler exit status 0",
              "X descent request", "C:\\Host\\apl\\F.APL.log"};
  ASSERT_TRUE(recordLastRun(platform, run).ok());
  EXPECT_EQ(parseLastRun(lastRunText(run))->log, run.log);
  EXPECT_FALSE(parseLastRun("when: x\r\nscript: y\r\n"));

  EXPECT_EQ(runCommandLine(platform, platform.console(), {"--status"}), 0);
  EXPECT_EQ(platform.printed(),
            "aplpatch " APLPATCH_VERSION "\n"
            "Installed in front of the compiler C:\\Host\\Compiler.exe (the compiler itself is now "
            "C:\\Host\\aplc2.exe).\n"
            "Settings: C:\\Host\\aplpatch.ini, switched off: radio-calls. 1 line is not taken: Compiler --settings "
            "says why.\n"
            "Last run: 2026-03-01T14:05:09, C:\\Host\\F.APL\n"
            "  Outcome: rewritten, compiler exit status 0\n"
            "  Keys: X descent request.\n"
            "  Log: C:\\Host\\apl\\F.APL.log\n"
            "Press Enter to close.\n");

  FakePlatform fresh;
  fresh.setUserFolders("/home/p/.config", "/home/p/.local/state");
  EXPECT_EQ(runCommandLine(fresh, fresh.console(), {"--status"}), 0);
  EXPECT_EQ(fresh.printed(), "aplpatch " APLPATCH_VERSION "\n"
                             "Not installed in front of a compiler: no aplc2.exe beside /opt/aplpatch/aplpatch.\n"
                             "To install: aplpatch --install \"PATH TO THE COMPILER\"\n"
                             "Settings: no settings file, every feature on.\n"
                             "Last run: none yet for this user.\n");
}

}  // namespace
}  // namespace aplpatch
