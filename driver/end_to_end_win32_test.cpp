// Runs the Windows program on real files, with the Windows stand-in compiler on the search path,
// as the host runs it: from a folder whose path holds a blank and letters outside any one code page.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "driver/test_files.h"
#include "driver/win32_test_support.h"
#include "engine/test_support.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::Finished;
using testing::readBytes;
using testing::ScratchFolder;
using testing::utf8;
using testing::writeBytes;

// "Flüge Łódź": a blank, a letter of the ANSI code page and letters outside it.
const wchar_t* const kFolderName = L"Fl\u00FCge \u0141\u00F3d\u017A";

std::string withCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::set<std::wstring> namesIn(const fs::path& folder) {
  std::set<std::wstring> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename());
  return names;
}

class WindowsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(folder);
    std::optional<std::string> read = readBytes(testing::programFolder() / "sample_flight.apl");
    ASSERT_TRUE(read) << "no example beside the test program";
    example = *read;
    writeBytes(folder / L"FLIGHT.APL", example);
  }

  // Runs aplpatch -e `script` in `workingFolder`, with the stand-in compiler on the search path.
  Finished patchIn(const fs::path& workingFolder, const std::wstring& script,
                   const std::map<std::wstring, std::wstring>& extra = {}) {
    std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
    environment[L"PATH"] = testing::programFolder().wstring() + L";" + environment[L"PATH"];
    environment[L"APLC2_STANDIN_LOG"] = (records.path() / "compiler.log").wstring();
    environment.erase(L"APLC2_STANDIN_EXIT");
    for (const auto& [name, value] : extra) environment[name] = value;
    std::wstring program = (testing::programFolder() / "aplpatch.exe").wstring();
    return testing::runCaptured(L"\"" + program + L"\" -e \"" + script + L"\"", workingFolder, environment,
                                records.path() / "console.txt");
  }
  Finished patch(const std::wstring& script, const std::map<std::wstring, std::wstring>& extra = {}) {
    return patchIn(folder, script, extra);
  }

  // The console of a complete run on `script` (UTF-8), the stand-in compiler's lines included.
  std::string completeRunConsole(const std::string& script, std::size_t rewrittenSize) const {
    return withCrLf("TALKRADAR patch started...\n"
                    "saving old generated APL file " + script + " ...\n"
                    "inserting missing RETURNS ...\n" +
                    testing::rewriteWhole(example).console +
                    "analysis done\n"
                    "saving new generated APL file " + script + ".new ...\n"
                    "running original ADV generator...\n"
                    "aplc2.exe stand-in: not the adventure compiler, compiles nothing\n"
                    "arguments: [-e] [" + script + "]\n"
                    "script " + script + ": " + std::to_string(rewrittenSize) + " bytes\n");
  }

  void expectPatchedInPlace(const std::string& script, const Finished& run) {
    std::string rewritten = testing::rewriteWhole(example).bytes;
    EXPECT_EQ(run.status, 0u) << run.output;
    EXPECT_EQ(readBytes(folder / L"FLIGHT.APL"), rewritten);
    EXPECT_EQ(namesIn(folder), (std::set<std::wstring>{L"FLIGHT.APL", L"apl"}));
    EXPECT_EQ(namesIn(folder / L"apl"),
              (std::set<std::wstring>{L"FLIGHT.APL", L"FLIGHT.APL.log", L"FLIGHT.APL.new"}));
    EXPECT_EQ(readBytes(folder / L"apl" / L"FLIGHT.APL"), example);
    EXPECT_EQ(readBytes(folder / L"apl" / L"FLIGHT.APL.new"), rewritten);
    EXPECT_EQ(run.output, completeRunConsole(script, rewritten.size()));
    EXPECT_EQ(readBytes(records.path() / "compiler.log"), "-e\n" + script + "\n--\n");
  }

  ScratchFolder scratch;
  ScratchFolder records;  // what the tests capture, away from the script's folder
  fs::path folder = scratch.path() / kFolderName;
  std::string example;
};

TEST_F(WindowsEndToEnd, PatchesAScriptNamedByItsAbsolutePath) {
  std::wstring script = (folder / L"FLIGHT.APL").wstring();
  // A drive letter and backslashes only, so that the backup folder is found from the path.
  ASSERT_TRUE(script.size() > 3 && script[1] == L':' && script[2] == L'\\') << utf8(script);
  ASSERT_EQ(script.find(L'/'), std::wstring::npos);

  Finished run = patch(script);
  expectPatchedInPlace(utf8(script), run);
  // The example has CR LF line ends throughout, and so has the rewritten script.
  std::string rewritten = readBytes(folder / L"FLIGHT.APL").value_or("");
  EXPECT_NE(rewritten.find("\r\n"), std::string::npos);
  EXPECT_EQ(withCrLf(testing::rewriteWhole(example).text), rewritten);
}

TEST_F(WindowsEndToEnd, PatchesAScriptNamedRelativeToTheWorkingFolder) {
  Finished run = patch(L"FLIGHT.APL");
  expectPatchedInPlace("FLIGHT.APL", run);
}

TEST_F(WindowsEndToEnd, KeepsTheBackupBesideAScriptNamedWithForwardOrMixedSlashes) {
  std::string rewritten = testing::rewriteWhole(example).bytes;
  const std::wstring scripts[] = {std::wstring(kFolderName) + L"/FLIGHT.APL",
                                  (scratch.path() / kFolderName).wstring() + L"/FLIGHT.APL",
                                  L"./" + std::wstring(kFolderName) + L"\\FLIGHT.APL"};
  for (const std::wstring& script : scripts) {
    SCOPED_TRACE(utf8(script));
    fs::remove_all(folder / L"apl");
    writeBytes(folder / L"FLIGHT.APL", example);
    Finished run = patchIn(scratch.path(), script);
    EXPECT_EQ(run.status, 0u) << run.output;
    EXPECT_EQ(readBytes(folder / L"FLIGHT.APL"), rewritten);
    EXPECT_FALSE(fs::exists(scratch.path() / L"apl"));
    EXPECT_EQ(namesIn(folder / L"apl"),
              (std::set<std::wstring>{L"FLIGHT.APL", L"FLIGHT.APL.log", L"FLIGHT.APL.new"}));
    EXPECT_EQ(readBytes(folder / L"apl" / L"FLIGHT.APL"), example);
    EXPECT_EQ(readBytes(folder / L"apl" / L"FLIGHT.APL.new"), rewritten);
  }
}

TEST_F(WindowsEndToEnd, EndsWithTheCompilersExitStatus) {
  for (unsigned long status : {7ul, 255ul, 0xFFFFFFFFul}) {
    SCOPED_TRACE(status);
    writeBytes(folder / L"FLIGHT.APL", example);
    Finished run = patch(L"FLIGHT.APL", {{L"APLC2_STANDIN_EXIT", std::to_wstring(static_cast<int>(status))}});
    EXPECT_EQ(run.status, status) << run.output;
  }
}

TEST_F(WindowsEndToEnd, LeavesTheScriptAloneWhenTheCommandLineIsWrong) {
  std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
  std::wstring program = (testing::programFolder() / "aplpatch.exe").wstring();
  Finished run = testing::runCaptured(L"\"" + program + L"\" -E FLIGHT.APL", folder, environment,
                                      records.path() / "console.txt");
  EXPECT_EQ(run.status, 0xFFFFFFFFul);
  EXPECT_EQ(run.output, "Program for only use with TALKRADAR.\r\n");
  EXPECT_EQ(namesIn(folder), std::set<std::wstring>{L"FLIGHT.APL"});
}

}  // namespace
}  // namespace aplpatch
