#include "commands/install.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

FakePlatform compilerFolder() {
  FakePlatform platform;
  platform.setRunningProgramPath("/opt/aplpatch/aplpatch");
  platform.addFile("/opt/aplpatch/aplpatch", "program " + std::string(installMarker()) + " bytes");
  platform.addFile("/tr/TR.EXE", "the adventure compiler");
  return platform;
}

TEST(InstallSteps, PutsEverythingBackWhenAStepFails) {
  struct Case {
    Operation operation;
    const char* message;
  };
  const std::vector<Case> cases = {
      {Operation::kCreateForWrite, "Cannot install: cannot create /tr/TR.EXE: Disk full. Nothing was changed.\n"},
      {Operation::kWrite, "Cannot install: cannot write /tr/TR.EXE: Disk full. Nothing was changed.\n"},
      {Operation::kCopyPermissions, "Cannot install: cannot write /tr/TR.EXE: Disk full. Nothing was changed.\n"},
      {Operation::kReplace, "Cannot install: cannot write /tr/TR.EXE: Disk full. Nothing was changed.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    FakePlatform platform = compilerFolder();
    const std::map<std::string, std::string> before = platform.files();
    platform.failCall(c.operation, 1, "Disk full");
    EXPECT_EQ(installProgram(platform, platform.console(), "/tr/TR.EXE"), 1);
    EXPECT_EQ(platform.printed(), c.message);
    EXPECT_EQ(platform.files(), before);
  }
}

TEST(InstallSteps, SaysWhatToDoWhenTheCompilerCannotBePutBack) {
  FakePlatform platform = compilerFolder();
  platform.failCall(Operation::kCreateForWrite, 1, "Disk full");
  platform.failCall(Operation::kMove, 2, "Permission denied");
  EXPECT_EQ(installProgram(platform, platform.console(), "/tr/TR.EXE"), 1);
  EXPECT_EQ(platform.printed(),
            "Cannot install: cannot create /tr/TR.EXE: Disk full. Cannot rename /tr/aplc2.exe back to /tr/TR.EXE: "
            "Permission denied. Rename it yourself.\n");
  EXPECT_EQ(platform.file("/tr/aplc2.exe"), "the adventure compiler");
}

TEST(InstallSteps, UninstallPutsTheCompilerBackAndSyncsItsFolder) {
  FakePlatform platform = compilerFolder();
  ASSERT_EQ(installProgram(platform, platform.console(), "/tr/TR.EXE"), 0);
  ASSERT_EQ(uninstallProgram(platform, platform.console(), "/tr/TR.EXE"), 0);
  EXPECT_EQ(platform.file("/tr/TR.EXE"), "the adventure compiler");
  EXPECT_FALSE(platform.file("/tr/aplc2.exe"));
  const std::vector<std::string>& log = platform.log();
  EXPECT_EQ(log.end()[-3], "replace /tr/TR.EXE with /tr/aplc2.exe");
  EXPECT_EQ(log.end()[-2], "sync folder of /tr/TR.EXE") << "a power cut could bring the installed copy back";
}

// What the first look saw can change before the step itself: the step's own refusal, by its code,
// says the same.
TEST(InstallSteps, AStepRefusedForWhatAppearedOrWentMeanwhileSaysWhat) {
  const struct {
    bool install;
    Operation operation;
    StatusCode code;
    const char* message;
  } cases[] = {
      {true, Operation::kMove, StatusCode::alreadyExists,
       "Cannot install: /tr/aplc2.exe exists already. Nothing was changed.\n"},
      {true, Operation::kMove, StatusCode::other,
       "Cannot install: cannot rename /tr/TR.EXE to /tr/aplc2.exe: refused. Nothing was changed.\n"},
      {false, Operation::kReplace, StatusCode::notFound,
       "Cannot uninstall: /tr/aplc2.exe does not exist. Nothing was changed.\n"},
      {false, Operation::kReplace, StatusCode::accessRefused,
       "Cannot uninstall: cannot put /tr/aplc2.exe in the place of /tr/TR.EXE: refused. Nothing was changed.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    FakePlatform platform = compilerFolder();
    if (!c.install) {
      ASSERT_EQ(installProgram(platform, platform.console(), "/tr/TR.EXE"), 0);
    }
    const std::map<std::string, std::string> before = platform.files();
    const std::size_t printedBefore = platform.printed().size();
    platform.failCall(c.operation, c.install ? 1 : 2, c.code, "refused");
    const int result = c.install ? installProgram(platform, platform.console(), "/tr/TR.EXE")
                                 : uninstallProgram(platform, platform.console(), "/tr/TR.EXE");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(platform.printed().substr(printedBefore), c.message);
    EXPECT_EQ(platform.files(), before);
  }
}

}  // namespace
}  // namespace aplpatch
