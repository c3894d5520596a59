#include "driver/program_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using Folders = std::vector<std::string>;

TEST(ProgramSearch, TriesTheProgramsFolderThenTheWorkingFolderThenThePath) {
  EXPECT_EQ(programCandidates("aplc2.exe", "C:\\TR\\aplpatch.exe", {"C:\\bin", "D:\\tools\\", "E:/x"},
                              kWindowsPathStyle),
            (Folders{"C:\\TR\\aplc2.exe", "aplc2.exe", "C:\\bin\\aplc2.exe", "D:\\tools\\aplc2.exe",
                     "E:/x\\aplc2.exe"}));
  EXPECT_EQ(programCandidates("aplc2.exe", "/opt/tr/aplpatch", {"/usr/bin"}, kPosixPathStyle),
            (Folders{"/opt/tr/aplc2.exe", "aplc2.exe", "/usr/bin/aplc2.exe"}));
  // A running program whose folder the system does not tell adds nothing.
  EXPECT_EQ(programCandidates("aplc2.exe", "", {}, kPosixPathStyle), Folders{"aplc2.exe"});
}

TEST(ProgramSearch, TheFirstProgramFoundWins) {
  struct Case {
    const char* what;
    std::set<std::string> programs;
    std::optional<std::string> found;  // as made full
    std::vector<std::string> passedOver;
    std::vector<std::string> folders = {};  // folders named aplc2.exe
    std::vector<std::string> files = {};    // files named aplc2.exe that are no programs
  };
  const std::vector<Case> cases = {
      {"everywhere", {"aplc2.exe", "/opt/tr/aplc2.exe", "/usr/bin/aplc2.exe"}, "/opt/tr/aplc2.exe", {}},
      {"in the working folder and on the path", {"aplc2.exe", "/usr/bin/aplc2.exe"}, "/work/aplc2.exe", {}},
      {"on the path only", {"/usr/bin/aplc2.exe"}, "/usr/bin/aplc2.exe", {}},
      {"nowhere", {"/somewhere/else/aplc2.exe"}, std::nullopt, {}},
      {"a folder beside the program, a text file in the working folder",
       {"/usr/bin/aplc2.exe"},
       "/usr/bin/aplc2.exe",
       {"/opt/tr/aplc2.exe: a folder", "/work/aplc2.exe: not a program that the system can start: Exec format error"},
       {"/opt/tr/aplc2.exe"},
       {"aplc2.exe"}},
      {"no program at all", {}, std::nullopt, {"/usr/bin/aplc2.exe: a folder"}, {"/usr/bin/aplc2.exe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::FakePlatform platform;
    platform.setRunningProgramPath("/opt/tr/aplpatch");
    platform.setSearchPathFolders({"/usr/bin"});
    platform.setWorkingFolder("/work");
    platform.setPrograms(c.programs);
    for (const std::string& folder : c.folders) platform.addFolder(folder);
    for (const std::string& file : c.files) platform.addFile(file, "not a program");
    ProgramSearch search = findProgram(platform, "aplc2.exe");
    EXPECT_EQ(search.found.has_value(), c.found.has_value());
    EXPECT_EQ(search.foundFullPath, c.found.value_or(""));
    EXPECT_EQ(search.passedOver, c.passedOver);
  }
}

}  // namespace
}  // namespace aplpatch
