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

}  // namespace
}  // namespace aplpatch
