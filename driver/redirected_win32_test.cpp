// Runs the Windows program for a host installed under Program Files, with the script's twin in the
// user's VirtualStore as Windows keeps it for a legacy host. The system under test redirects
// nothing itself: the test puts both files in place.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "testing/test_files.h"
#include "testing/test_support.h"
#include "testing/test_support_win32.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::utf8;
using testing::writeBytes;

class RedirectedWindowsRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
    fs::path programFiles = environment[L"PROGRAMFILES"];
    fs::path localAppData = environment[L"LOCALAPPDATA"];
    ASSERT_FALSE(programFiles.empty() || localAppData.empty()) << "ProgramFiles or LOCALAPPDATA is not set";
    std::wstring name = L"aplpatch redirection " + std::to_wstring(GetCurrentProcessId());
    hostFolder = programFiles / name;
    twinFolder = localAppData / L"VirtualStore" / programFiles.relative_path() / name;
    // Whatever of the twin's folders this test makes, it removes again.
    for (createdTwinFolders = twinFolder; !fs::exists(createdTwinFolders.parent_path());)
      createdTwinFolders = createdTwinFolders.parent_path();
    ASSERT_TRUE(fs::create_directory(hostFolder));
    ASSERT_TRUE(fs::create_directories(twinFolder));
    std::optional<std::string> read = readBytes(testing::programFolder() / "sample_flight.apl");
    ASSERT_TRUE(read);
    example = *read;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(hostFolder, ignored);
    fs::remove_all(createdTwinFolders, ignored);
  }

  // Runs aplpatch -e `script` in the host's folder, with the stand-in compiler on the search path.
  testing::Finished patch(const fs::path& script) {
    std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
    environment[L"PATH"] = testing::programFolder().wstring() + L";" + environment[L"PATH"];
    environment[L"APLC2_STANDIN_LOG"] = (records.path() / "compiler.log").wstring();
    environment.erase(L"APLC2_STANDIN_EXIT");
    std::wstring program = (testing::programFolder() / "aplpatch.exe").wstring();
    return testing::runCaptured(L"\"" + program + L"\" -e \"" + script.wstring() + L"\"", hostFolder, environment,
                                records.path() / "console.txt");
  }

  fs::path hostFolder;
  fs::path twinFolder;
  fs::path createdTwinFolders;
  testing::ScratchFolder records;
  std::string example;
};

TEST_F(RedirectedWindowsRun, RewritesWhicheverOfScriptAndTwinWasWrittenLast) {
  const fs::path script = hostFolder / L"FLIGHT.APL";
  const fs::path twin = twinFolder / L"FLIGHT.APL";
  const std::string rewritten = testing::rewriteWhole(example).bytes;
  for (bool twinNewer : {true, false}) {
    SCOPED_TRACE(twinNewer ? "twin newer, script named relative to the host's folder" : "twin older");
    const fs::path given = twinNewer ? fs::path(L"FLIGHT.APL") : script;
    const fs::path& newer = twinNewer ? twin : script;
    const fs::path& older = twinNewer ? script : twin;
    fs::remove_all(hostFolder / L"apl");
    fs::remove_all(twinFolder / L"apl");
    fs::remove(records.path() / "compiler.log");
    writeBytes(newer, example);
    writeBytes(older, "an older script\r\n");
    fs::last_write_time(older, fs::last_write_time(newer) - std::chrono::hours(1));

    testing::Finished run = patch(given);
    EXPECT_EQ(run.status, 0u) << run.output;
    // Compared as truths: a difference would print the whole example.
    EXPECT_TRUE(readBytes(newer) == rewritten) << "the newer file is not the rewrite";
    EXPECT_EQ(readBytes(older), "an older script\r\n");
    EXPECT_TRUE(readBytes(newer.parent_path() / L"apl" / L"FLIGHT.APL") == example) << "no backup beside it";
    EXPECT_FALSE(fs::exists(older.parent_path() / L"apl"));
    // The console and the compiler get the path as given.
    EXPECT_NE(run.output.find("saving new generated APL file " + utf8(given) + ".new ...\r\n"), std::string::npos)
        << run.output;
    EXPECT_EQ(readBytes(records.path() / "compiler.log"), "-e\n" + utf8(given) + "\n--\n");
    std::string log = readBytes(newer.parent_path() / L"apl" / L"FLIGHT.APL.log").value_or("");
    EXPECT_EQ(log.find("\r\nfile worked on: " + utf8(twin) + " (") != std::string::npos, twinNewer) << log;
  }
}

}  // namespace
}  // namespace aplpatch
