#include "driver/program_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace aplpatch {
namespace {

TEST(ProgramSearch, TriesTheWorkingDirectoryThenEachFolderOfThePathInOrder) {
  struct Case {
    const char* searchPath;
    std::vector<std::string> candidates;
  };
  const std::vector<Case> cases = {
      {"", {"aplc2.exe"}},
      {"C:\\bin", {"aplc2.exe", "C:\\bin\\aplc2.exe"}},
      {"C:\\bin;D:\\tools\\;C:/unix/",
       {"aplc2.exe", "C:\\bin\\aplc2.exe", "D:\\tools\\aplc2.exe", "C:/unix/aplc2.exe"}},
      {";;C:\\bin;;", {"aplc2.exe", "C:\\bin\\aplc2.exe"}},
      {"\"C:\\Program Files\\TR\";C:\\y",
       {"aplc2.exe", "C:\\Program Files\\TR\\aplc2.exe", "C:\\y\\aplc2.exe"}},
      {"\"C:\\odd;name\";C:\\y", {"aplc2.exe", "C:\\odd;name\\aplc2.exe", "C:\\y\\aplc2.exe"}},
      {"C:\\my \"part\" folder", {"aplc2.exe", "C:\\my part folder\\aplc2.exe"}},
      {"\"\";\\\\server\\share", {"aplc2.exe", "\\\\server\\share\\aplc2.exe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.searchPath);
    EXPECT_EQ(programCandidates("aplc2.exe", c.searchPath), c.candidates);
  }
}

TEST(ProgramSearch, ANameWithAFolderIsLookedForOnlyThere) {
  for (const char* name : {"tools\\aplc2.exe", "..\\aplc2.exe", "C:aplc2.exe", "bin/aplc2.exe"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(programCandidates(name, "C:\\bin"), std::vector<std::string>{name});
  }
}

}  // namespace
}  // namespace aplpatch
