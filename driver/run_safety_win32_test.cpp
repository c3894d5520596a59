// The Windows program on real files where the folder works against it: a script another program
// holds, temporaries of killed runs, a non-program under the compiler's name, long names, a
// drive-relative path and a hidden system script.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "testing/test_files.h"
#include "testing/test_support.h"
#include "testing/test_support_win32.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::Finished;
using testing::readBytes;
using testing::ScratchFolder;
using testing::utf8;
using testing::writeBytes;

constexpr const char* kScript = "start:\r\nwait 2\r\nende:\r\n";

std::set<std::wstring> namesIn(const fs::path& folder) {
  std::set<std::wstring> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// Opens `path` as another program would: `share` says what others may do meanwhile.
HANDLE holdOpen(const fs::path& path, DWORD access, DWORD share) {
  return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

class WindowsRunSafety : public ::testing::Test {
 protected:
  void SetUp() override { writeBytes(scratch.path() / L"F.APL", kScript); }

  // Runs `program` -e `script` in `workingFolder`, with the stand-in compiler on the search path
  // unless `searchPath` is given.
  Finished run(const std::wstring& script, const fs::path& workingFolder, const fs::path& program,
               const std::map<std::wstring, std::wstring>& extra = {}) {
    std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
    environment[L"PATH"] = testing::programFolder().wstring() + L";" + environment[L"PATH"];
    environment[L"APLC2_STANDIN_LOG"] = (records.path() / "compiler.log").wstring();
    environment.erase(L"APLC2_STANDIN_EXIT");
    for (const auto& [name, value] : extra) environment[name] = value;
    return testing::runCaptured(L"\"" + program.wstring() + L"\" -e \"" + script + L"\"", workingFolder, environment,
                                records.path() / "console.txt");
  }
  Finished patch(const std::wstring& script) { return run(script, scratch.path(), aplpatch()); }

  static fs::path aplpatch() { return testing::programFolder() / "aplpatch.exe"; }
  std::string log(const std::wstring& name = L"F.APL.log") const {
    return readBytes(scratch.path() / L"apl" / name).value_or("");
  }

  ScratchFolder scratch;  // the script's folder and the working folder
  ScratchFolder records;  // what the tests capture
};

TEST_F(WindowsRunSafety, AScriptHeldForASecondIsWaitedFor) {
  HANDLE held = holdOpen(scratch.path() / L"F.APL", GENERIC_READ, 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread letGo([held] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    CloseHandle(held);
  });
  Finished finished = patch(L"F.APL");
  letGo.join();
  EXPECT_EQ(finished.status, 0u) << finished.output;
  EXPECT_EQ(readBytes(scratch.path() / L"F.APL"), testing::rewriteWhole(kScript).bytes);
}

TEST_F(WindowsRunSafety, AScriptHeldForGoodIsRefusedAsBeforeAfterSayingSo) {
  HANDLE held = holdOpen(scratch.path() / L"F.APL", GENERIC_READ, 0);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Finished finished = patch(L"F.APL");
  CloseHandle(held);
  EXPECT_EQ(finished.status, 0xFFFFFFFFul);
  EXPECT_TRUE(finished.output.starts_with("TALKRADAR patch started...\r\n"
                                          "saving old generated APL file F.APL ...\r\n"
                                          "F.APL is held by another program"))
      << finished.output;
  EXPECT_NE(finished.output.find("; waited 2 seconds for it.\r\nCannot open F.APL: "), std::string::npos);
  EXPECT_TRUE(finished.output.ends_with(".\r\nProgram aborted. For use with TALKRADAR only.\r\n")) << finished.output;
  EXPECT_EQ(namesIn(scratch.path()), std::set<std::wstring>{L"F.APL"});
}

TEST_F(WindowsRunSafety, RemovesAStaleTemporaryAndKeepsOneThatARunIsWriting) {
  fs::create_directory(scratch.path() / L"apl");
  for (const wchar_t* name : {L"F.APL.k3x9q0ab.tmp", L"apl\\F.APL.new.0123abcd.tmp", L"G.APL.k3x9q0ab.tmp",
                              L"F.APL.k3x9q0ab.tmp.bak", L"F.APL.w0rk1ng0.tmp"})
    writeBytes(scratch.path() / name, "left behind");
  // Open as a run that writes it has it open.
  HANDLE writer = holdOpen(scratch.path() / L"F.APL.w0rk1ng0.tmp", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  Finished finished = patch(L"F.APL");
  CloseHandle(writer);
  EXPECT_EQ(finished.status, 0u) << finished.output;
  EXPECT_EQ(namesIn(scratch.path()), (std::set<std::wstring>{L"F.APL", L"apl", L"G.APL.k3x9q0ab.tmp",
                                                             L"F.APL.k3x9q0ab.tmp.bak", L"F.APL.w0rk1ng0.tmp"}));
  EXPECT_EQ(namesIn(scratch.path() / L"apl"), (std::set<std::wstring>{L"F.APL", L"F.APL.log", L"F.APL.new"}));
  EXPECT_NE(log().find("\r\nstale temporaries removed: 2, kept: 1"), std::string::npos) << log();
}

TEST_F(WindowsRunSafety, TheCompilerBesideTheProgramWinsAndANonProgramIsPassedOver) {
  fs::path installed = records.path() / L"compiler";
  fs::create_directory(installed);
  fs::copy_file(aplpatch(), installed / L"TR.EXE");
  fs::copy_file(testing::programFolder() / "aplc2.exe", installed / L"aplc2.exe");
  // In the working folder: a text file under the compiler's name.
  writeBytes(scratch.path() / L"aplc2.exe", "not a program\r\n");
  Finished finished = run(L"F.APL", scratch.path(), installed / L"TR.EXE", {{L"PATH", L"C:\\nothing here"}});
  EXPECT_EQ(finished.status, 0u) << finished.output;
  EXPECT_NE(log().find("\r\ncompiler file: " + utf8(installed / L"aplc2.exe") + "\r\n"), std::string::npos) << log();

  // A folder of that name beside the program: it and the text file are passed over for the path's.
  fs::remove(installed / L"aplc2.exe");
  fs::create_directory(installed / L"aplc2.exe");
  writeBytes(scratch.path() / L"F.APL", kScript);
  finished = run(L"F.APL", scratch.path(), installed / L"TR.EXE");
  EXPECT_EQ(finished.status, 0u) << finished.output;
  const std::string text = log();
  EXPECT_NE(text.find("\r\ncompiler passed over: " + utf8(installed / L"aplc2.exe") + ": a folder\r\n"
                      "compiler passed over: " + utf8(scratch.path() / L"aplc2.exe") +
                      ": not a program that the system can start: "),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("%1"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\ncompiler file: " + utf8(testing::programFolder() / "aplc2.exe") + "\r\n"),
            std::string::npos)
      << text;
}

TEST_F(WindowsRunSafety, NamesUpToTheLimitAreRewrittenBackedUpAndLogged) {
  for (std::size_t length : {230, 243, 255}) {
    SCOPED_TRACE(length);
    const std::wstring name = std::wstring(length - 4, L'f') + L".APL";
    writeBytes(scratch.path() / name, kScript);
    Finished finished = patch(name);
    EXPECT_EQ(finished.status, 0u) << finished.output;
    EXPECT_EQ(readBytes(scratch.path() / name), testing::rewriteWhole(kScript).bytes);
    EXPECT_EQ(readBytes(scratch.path() / L"apl" / name), kScript);
    EXPECT_EQ(namesIn(scratch.path() / L"apl").size(), 3u);
    fs::remove_all(scratch.path() / L"apl");
    fs::remove(scratch.path() / name);
  }
}

TEST_F(WindowsRunSafety, ADriveRelativeScriptIsBackedUpBesideItselfFromAnotherDrive) {
  const std::wstring folder = scratch.path().wstring();
  ASSERT_TRUE(folder.size() > 2 && folder[1] == L':');
  const std::wstring drive = folder.substr(0, 2);
  // Another drive's folder to work in: the system folder's drive when it differs, else the root of Z:.
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  fs::path elsewhere = std::wstring(system).substr(0, 2) != drive ? fs::path(system) : fs::path(L"Z:\\");
  if (elsewhere.wstring().substr(0, 2) == drive || !fs::is_directory(elsewhere))
    GTEST_SKIP() << "no second drive here";
  // The working folder of the script's drive, as the host's console would have it.
  Finished finished = run(drive + L"F.APL", elsewhere, aplpatch(), {{L"=" + drive, folder}});
  EXPECT_EQ(finished.status, 0u) << finished.output;
  EXPECT_EQ(readBytes(scratch.path() / L"F.APL"), testing::rewriteWhole(kScript).bytes);
  EXPECT_EQ(readBytes(scratch.path() / L"apl" / L"F.APL"), kScript);
  EXPECT_FALSE(fs::exists(elsewhere / L"apl"));
}

TEST_F(WindowsRunSafety, ALinkNamedAplIsNotFollowed) {
  const fs::path elsewhere = records.path() / L"elsewhere";
  fs::create_directory(elsewhere);
  writeBytes(elsewhere / L"F.APL", "other data");
  const fs::path link = scratch.path() / L"apl";
  // Some emulations of the system report success and make nothing.
  if (!CreateSymbolicLinkW(link.c_str(), elsewhere.c_str(),
                           SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
      GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no symbolic links here";
  Finished finished = patch(L"F.APL");
  EXPECT_EQ(finished.status, 0u) << finished.output;
  EXPECT_NE(finished.output.find("backup failed: cannot use folder apl: it is a link"), std::string::npos)
      << finished.output;
  EXPECT_EQ(readBytes(scratch.path() / L"F.APL"), testing::rewriteWhole(kScript).bytes);
  EXPECT_EQ(namesIn(elsewhere), std::set<std::wstring>{L"F.APL"});
  EXPECT_EQ(readBytes(elsewhere / L"F.APL"), "other data");
  RemoveDirectoryW(link.c_str());
}

TEST_F(WindowsRunSafety, AHiddenSystemScriptStaysHiddenAndSystem) {
  const fs::path script = scratch.path() / L"F.APL";
  ASSERT_TRUE(SetFileAttributesW(script.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  Finished finished = patch(L"F.APL");
  EXPECT_EQ(finished.status, 0u) << finished.output;
  EXPECT_EQ(readBytes(script), testing::rewriteWhole(kScript).bytes);
  DWORD attributes = GetFileAttributesW(script.c_str());
  constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(attributes & kHiddenSystem, kHiddenSystem);
  SetFileAttributesW(script.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace aplpatch
