#include "driver/program_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using Folders = std::vector<std::string>;

TEST(ProgramSearch, TriesTheWorkingFolderThenTheProgramsFolderThenThePath) {
  EXPECT_EQ(programCandidates("aplc2.exe", "C:\\TR\\aplpatch.exe", {"C:\\bin", "D:\\tools\\", "E:/x"},
                              kWindowsPathStyle),
            (Folders{"aplc2.exe", "C:\\TR\\aplc2.exe", "C:\\bin\\aplc2.exe", "D:\\tools\\aplc2.exe",
                     "E:/x\\aplc2.exe"}));
  EXPECT_EQ(programCandidates("aplc2.exe", "/opt/tr/aplpatch", {"/usr/bin"}, kPosixPathStyle),
            (Folders{"aplc2.exe", "/opt/tr/aplc2.exe", "/usr/bin/aplc2.exe"}));
  // A running program whose folder the system does not tell adds nothing.
  EXPECT_EQ(programCandidates("aplc2.exe", "", {}, kPosixPathStyle), Folders{"aplc2.exe"});
}

TEST(ProgramSearch, TheFirstProgramFoundWins) {
  struct Case {
    const char* what;
    std::set<std::string> programs;
    std::optional<std::string> found;
  };
  const std::vector<Case> cases = {
      {"everywhere", {"aplc2.exe", "/opt/tr/aplc2.exe", "/usr/bin/aplc2.exe"}, "aplc2.exe"},
      {"beside the program and on the path", {"/opt/tr/aplc2.exe", "/usr/bin/aplc2.exe"}, "/opt/tr/aplc2.exe"},
      {"on the path only", {"/usr/bin/aplc2.exe"}, "/usr/bin/aplc2.exe"},
      {"nowhere", {"/somewhere/else/aplc2.exe"}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::FakePlatform platform;
    platform.setRunningProgramPath("/opt/tr/aplpatch");
    platform.setSearchPathFolders({"/usr/bin"});
    platform.setPrograms(c.programs);
    EXPECT_EQ(locateProgram(platform, "aplc2.exe"), c.found);
  }
}

}  // namespace
}  // namespace aplpatch
