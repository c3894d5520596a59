// Starting a program on Windows, with a probe that records where it was found and what it got.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "driver/program_search.h"
#include "platform/platform.h"
#include "testing/test_files.h"
#include "testing/test_support_win32.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScopedVariable;
using testing::ScratchFolder;
using testing::utf8;

class WindowsProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(work);
    fs::create_directory(bin);
  }

  // Puts the probe into `destination` under the compiler's name.
  void installProbe(const fs::path& destination) {
    fs::copy_file(testing::programFolder() / "argument_probe.exe", destination / "aplc2.exe");
  }

  ProgramRun run(const std::vector<std::string>& arguments = {"-e", "F.APL"}) {
    testing::ScopedWorkingDirectory inWork(work);
    // The stand-in beside this test program is left out: these tests are about the search path.
    for (const std::string& candidate :
         programCandidates("aplc2.exe", "", platform->searchPathFolders(), platform->pathStyle())) {
      if (platform->isProgramFile(candidate)) return platform->runProgram(candidate, arguments);
    }
    return {Status::failure("not found"), 0, 0, {}, {}, {}};
  }

  std::string probeLog() const { return readBytes(records.path() / "probe.log").value_or(""); }

  ScratchFolder folder;
  ScratchFolder records;
  fs::path work = folder.path() / L"work \u0141";
  fs::path bin = folder.path() / L"bin \u00FC";
  ScopedVariable searchPath{L"PATH", bin.wstring()};
  ScopedVariable log{L"ARGUMENT_PROBE_LOG", (records.path() / "probe.log").wstring()};
  std::unique_ptr<Platform> platform = makeSystemPlatform();
};

TEST_F(WindowsProgramRun, LooksInTheWorkingDirectoryBeforeTheSearchPath) {
  installProbe(work);
  installProbe(bin);
  ASSERT_TRUE(run().status.ok());
  EXPECT_EQ(probeLog(), utf8(work) + "\n-e\nF.APL\n--\n");

  // A folder of that name is passed over.
  fs::remove(work / "aplc2.exe");
  fs::create_directory(work / "aplc2.exe");
  ASSERT_TRUE(run().status.ok());
  EXPECT_EQ(probeLog(), utf8(bin) + "\n-e\nF.APL\n--\n");
}

TEST_F(WindowsProgramRun, SearchesEveryFolderOfThePathInOrder) {
  fs::path second = folder.path() / L"second;folder";
  fs::create_directory(second);
  installProbe(second);
  ScopedVariable path(L"PATH", L";;" + (folder.path() / L"missing").wstring() + L";" + bin.wstring() +
                                   L";\"" + second.wstring() + L"\"");
  ASSERT_TRUE(run().status.ok());
  EXPECT_EQ(probeLog(), utf8(second) + "\n-e\nF.APL\n--\n");
}

TEST_F(WindowsProgramRun, PassesTheArgumentsUnchangedWithoutAnInterpreter) {
  installProbe(bin);
  const std::vector<std::string> arguments = {
      "-e",
      "C:\\my flights\\F&echo hi;\"x\" %PATH% ^| \xC5\x81\xC3\xB3" "d\xC5\xBA \xC3\xBC.APL",
      "C:\\ends in a backslash\\",
      "\\\\server\\share\\\"quoted\"\\",
      "",
      "tab\tand  two blanks",
  };
  ProgramRun result = run(arguments);
  ASSERT_TRUE(result.status.ok()) << result.status.reason();
  std::string expected = utf8(bin) + "\n";
  for (const std::string& argument : arguments) expected += argument + "\n";
  EXPECT_EQ(probeLog(), expected + "--\n");
}

TEST_F(WindowsProgramRun, ReturnsTheProgramsExitCode) {
  installProbe(bin);
  // The last is the code of a program ended by an access violation (0xC0000005).
  for (int code : {0, 1, 3, 255, -1, -1073741819}) {
    SCOPED_TRACE(code);
    ScopedVariable exit(L"ARGUMENT_PROBE_EXIT", std::to_wstring(code));
    ProgramRun result = run();
    EXPECT_TRUE(result.status.ok());
    EXPECT_EQ(result.exitCode, code);
  }
}

TEST_F(WindowsProgramRun, TellsWhyAProgramDidNotRun) {
  EXPECT_EQ(run().status.reason(), "not found");

  // A file that is no program is passed over by the search, with the system's reason that names it.
  const fs::path text = bin / "aplc2.exe";
  testing::writeBytes(text, "this is no program\r\n");
  EXPECT_EQ(run().status.reason(), "not found");
  ProgramFileCheck check = platform->checkProgramFile(testing::utf8(text));
  EXPECT_TRUE(check.found);
  EXPECT_FALSE(check.startable);
  EXPECT_TRUE(check.reason.starts_with("not a program that the system can start: ")) << check.reason;
  EXPECT_NE(check.reason.find("(error 193)"), std::string::npos) << check.reason;
  EXPECT_EQ(check.reason.find("%1"), std::string::npos) << check.reason;
  // Started all the same, it fails with the same words.
  std::string reason = platform->runProgram(testing::utf8(text), {"-e", "F.APL"}).status.reason();
  EXPECT_NE(reason.find("(error 193)"), std::string::npos) << reason;
  EXPECT_EQ(reason.find("%1"), std::string::npos) << reason;

  fs::remove(text);
  fs::create_directory(text);
  EXPECT_EQ(platform->checkProgramFile(testing::utf8(text)).reason, "a folder");
}

}  // namespace
}  // namespace aplpatch
