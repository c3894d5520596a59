// Finding the compiler and starting it on a POSIX system, as a run does.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "driver/program_search.h"
#include "platform/platform.h"
#include "testing/test_files.h"
#include "testing/test_support_posix.h"

namespace aplpatch {
namespace {

using testing::ScopedVariable;
using testing::ScopedWorkingDirectory;
using testing::ScratchFolder;
using testing::writeBytes;

void writeProgram(const std::string& path, const std::string& text, bool runnable = true) {
  writeBytes(path, text);
  ::chmod(path.c_str(), runnable ? 0755 : 0644);
}

class PosixProgramSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(at("work"));
    std::filesystem::create_directory(at("bin"));
  }

  std::string at(const std::string& name) const { return folder / name; }

  ProgramRun run(const std::vector<std::string>& arguments = {"-e", "F.APL"}) {
    ScopedWorkingDirectory inWork(at("work"));
    std::optional<std::string> program = locateProgram(*platform, "aplc2.exe");
    if (!program) return {Status::failure("not found"), 0, 0, {}, {}, {}};
    return platform->runProgram(*program, arguments);
  }

  ScratchFolder folder;
  std::unique_ptr<Platform> platform = makeSystemPlatform();
  ScopedVariable path{"PATH", folder / "bin"};
};

TEST_F(PosixProgramSearch, LooksInTheWorkingDirectoryBeforeTheSearchPath) {
  EXPECT_EQ(run().status.reason(), "not found");
  writeProgram(at("bin/aplc2.exe"), "#!/bin/sh\nexit 22\n");
  writeProgram(at("work/aplc2.exe"), "#!/bin/sh\nexit 11\n");
  EXPECT_EQ(run().exitCode, 11);

  // A file of that name that cannot be run is passed over.
  writeProgram(at("work/aplc2.exe"), "#!/bin/sh\nexit 11\n", false);
  EXPECT_EQ(run().exitCode, 22);
}

TEST_F(PosixProgramSearch, SearchesEveryFolderOfThePathInOrder) {
  std::filesystem::create_directory(at("bin2"));
  writeProgram(at("bin2/aplc2.exe"), "#!/bin/sh\nexit 33\n");
  ScopedVariable searchPath("PATH", "::" + at("missing") + ":" + at("bin") + ":" + at("bin2"));
  EXPECT_EQ(run().exitCode, 33);
}

}  // namespace
}  // namespace aplpatch
