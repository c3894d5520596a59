// Runs the Windows program on real files, with the Windows stand-in compiler on the search path,
// as the host runs it: from a folder whose path holds a blank and letters outside any one code page.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "testing/test_files.h"
#include "testing/test_support_win32.h"
#include "testing/test_support.h"

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
                    "script " + script + ": " + std::to_string(rewrittenSize) + " bytes\n"
                    "Keys: X descent request, M missed approach, L line-up. Log: " +
                    script.substr(0, script.find_last_of('\\') + 1) + "apl\\" +
                    script.substr(script.find_last_of('\\') + 1) + ".log\n");
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
    // Failing on the rewrite, the compiler got the script put back as generated, and failed again.
    EXPECT_NE(run.output.find("FLIGHT.APL is put back as generated and compiled again"), std::string::npos)
        << run.output;
    EXPECT_EQ(readBytes(folder / L"FLIGHT.APL"), example);
    EXPECT_EQ(readBytes(folder / L"apl" / L"FLIGHT.APL.new"), testing::rewriteWhole(example).bytes);
  }
}

TEST_F(WindowsEndToEnd, BacksUpAReadOnlyScriptSoThatTheNextRunCanReplaceTheBackup) {
  const fs::path script = folder / L"FLIGHT.APL";
  SetFileAttributesW(script.c_str(), FILE_ATTRIBUTE_READONLY);
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    Finished finished = patch(L"FLIGHT.APL");
    // The read-only script itself stays protected, and the flight is compiled as generated.
    EXPECT_EQ(finished.status, 0u) << finished.output;
    EXPECT_NE(finished.output.find("FLIGHT.APL is compiled as generated, without the additions."), std::string::npos)
        << finished.output;
    EXPECT_EQ(readBytes(records.path() / "compiler.log"), "-e\nFLIGHT.APL\n--\n");
    fs::remove(records.path() / "compiler.log");
    EXPECT_EQ(finished.output.find("backup failed"), std::string::npos) << finished.output;
    EXPECT_EQ(readBytes(script), example);
    EXPECT_EQ(GetFileAttributesW((folder / L"apl" / L"FLIGHT.APL").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(namesIn(folder), (std::set<std::wstring>{L"FLIGHT.APL", L"apl"}));
    // No rewrite that did not take effect is kept; the first run's log is kept beside the second's.
    std::set<std::wstring> backups = {L"FLIGHT.APL", L"FLIGHT.APL.log"};
    if (run == 1) backups.insert(L"FLIGHT.APL.1.log");
    EXPECT_EQ(namesIn(folder / L"apl"), backups);
  }
  fs::remove(folder / L"apl" / L"FLIGHT.APL.log");
  fs::remove(folder / L"apl" / L"FLIGHT.APL.1.log");
  SetFileAttributesW(script.c_str(), FILE_ATTRIBUTE_NORMAL);
  expectPatchedInPlace("FLIGHT.APL", patch(L"FLIGHT.APL"));
}

TEST_F(WindowsEndToEnd, TwoRunsAtOnceEachPublishOnlyACompleteScript) {
  std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
  environment[L"PATH"] = testing::programFolder().wstring() + L";" + environment[L"PATH"];
  environment[L"APLC2_STANDIN_SIZES"] = records.path().wstring();
  std::wstring program = L"\"" + (testing::programFolder() / "aplpatch.exe").wstring() + L"\" -e FLIGHT.APL";
  HANDLE first = testing::startCaptured(program, folder, environment, records.path() / "first.txt");
  HANDLE second = testing::startCaptured(program, folder, environment, records.path() / "second.txt");
  ASSERT_TRUE(first != nullptr && second != nullptr);
  EXPECT_EQ(testing::waitForExit(first), 0u);
  EXPECT_EQ(testing::waitForExit(second), 0u);

  // The second may have read the first one's rewrite: either way each file handed on is whole.
  std::string once = testing::rewriteWhole(example).bytes;
  std::string twice = testing::rewriteWhole(once).bytes;
  std::set<std::string> complete = {std::to_string(once.size()), std::to_string(twice.size())};
  int sizes = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(records.path())) {
    if (entry.path().filename().wstring().rfind(L"size", 0) != 0) continue;
    ++sizes;
    EXPECT_EQ(complete.count(readBytes(entry.path()).value_or("")), 1u);
  }
  EXPECT_EQ(sizes, 2);
  std::optional<std::string> script = readBytes(folder / L"FLIGHT.APL");
  EXPECT_TRUE(script == once || script == twice);
  EXPECT_EQ(namesIn(folder), (std::set<std::wstring>{L"FLIGHT.APL", L"apl"}));
  // The earlier run's log is kept beside the later one's, unless both moved it at once.
  std::set<std::wstring> backups = namesIn(folder / L"apl");
  backups.erase(L"FLIGHT.APL.1.log");
  EXPECT_EQ(backups, (std::set<std::wstring>{L"FLIGHT.APL", L"FLIGHT.APL.log", L"FLIGHT.APL.new"}));
}

TEST_F(WindowsEndToEnd, LeavesTheScriptAloneWhenTheCommandLineIsWrong) {
  std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
  std::wstring program = (testing::programFolder() / "aplpatch.exe").wstring();
  Finished run = testing::runCaptured(L"\"" + program + L"\" -E FLIGHT.APL", folder, environment,
                                      records.path() / "console.txt");
  EXPECT_EQ(run.status, 0xFFFFFFFFul);
  // The host's refusal line as it knows it, then a hint for a person.
  EXPECT_TRUE(run.output.starts_with("Program for only use with TALKRADAR.\r\n")) << run.output;
  EXPECT_NE(run.output.find("--help"), std::string::npos) << run.output;
  EXPECT_EQ(namesIn(folder), std::set<std::wstring>{L"FLIGHT.APL"});
}

// aplpatch.exe copied into a folder of its own, as the README installs it, with the host's folder
// and search path chosen by each test.
class WindowsInstalled : public WindowsEndToEnd {
 protected:
  void SetUp() override {
    WindowsEndToEnd::SetUp();
    fs::create_directory(installed);
    fs::copy_file(testing::programFolder() / "aplpatch.exe", installed / L"TR.EXE");
  }

  // Runs `installed`\TR.EXE with `arguments` in the script's folder, with `searchPath` as PATH.
  Finished runInstalled(const std::wstring& arguments, const std::wstring& searchPath) {
    std::map<std::wstring, std::wstring> environment = testing::currentEnvironment();
    environment[L"PATH"] = searchPath;
    environment[L"APLC2_STANDIN_LOG"] = (records.path() / "compiler.log").wstring();
    environment.erase(L"APLC2_STANDIN_EXIT");
    // The pilot's own folders are the test's: nothing of the user running the tests is read or written.
    environment[L"APPDATA"] = (scratch.path() / L"roaming").wstring();
    environment[L"LOCALAPPDATA"] = (scratch.path() / L"local").wstring();
    return testing::runCaptured(L"\"" + (installed / L"TR.EXE").wstring() + L"\" " + arguments, folder, environment,
                                records.path() / "console.txt");
  }

  std::string compilerLog() const { return readBytes(records.path() / "compiler.log").value_or(""); }

  fs::path installed = scratch.path() / L"compiler \u00FC";
  std::wstring nowhere = (scratch.path() / L"nothing here").wstring();
};

TEST_F(WindowsInstalled, FindsTheCompilerBesideItselfOrOnThePathBeforeChangingAnything) {
  const std::string rewritten = testing::rewriteWhole(example).bytes;
  {
    SCOPED_TRACE("only on the path");
    Finished run = runInstalled(L"-e FLIGHT.APL", testing::programFolder().wstring());
    EXPECT_EQ(run.status, 0u) << run.output;
    EXPECT_EQ(compilerLog(), "-e\nFLIGHT.APL\n--\n");
    EXPECT_EQ(readBytes(folder / L"FLIGHT.APL"), rewritten);
  }
  {
    SCOPED_TRACE("nowhere");
    writeBytes(folder / L"FLIGHT.APL", example);
    fs::remove_all(folder / L"apl");
    fs::remove(records.path() / "compiler.log");
    Finished run = runInstalled(L"-e FLIGHT.APL", nowhere);
    EXPECT_EQ(run.status, 0xFFFFFFFFul);
    EXPECT_EQ(run.output, withCrLf("TALKRADAR patch started...\n"
                                   "saving old generated APL file FLIGHT.APL ...\n"
                                   "Cannot find aplc2.exe beside aplpatch, in the working folder or on PATH. "
                                   "FLIGHT.APL is left as it was.\n"));
    EXPECT_EQ(readBytes(folder / L"FLIGHT.APL"), example);
    EXPECT_EQ(namesIn(folder / L"apl"), std::set<std::wstring>{L"FLIGHT.APL.log"});
    EXPECT_EQ(compilerLog(), "");
  }
  {
    SCOPED_TRACE("only beside the program");
    fs::copy_file(testing::programFolder() / "aplc2.exe", installed / L"aplc2.exe");
    Finished run = runInstalled(L"-e FLIGHT.APL", nowhere);
    EXPECT_EQ(run.status, 0u) << run.output;
    EXPECT_EQ(compilerLog(), "-e\nFLIGHT.APL\n--\n");
    EXPECT_EQ(readBytes(folder / L"FLIGHT.APL"), rewritten);
  }
}

TEST_F(WindowsInstalled, GoesByTheSettingsFileBesideItself) {
  const fs::path settings = installed / L"aplpatch.ini";
  // As Notepad saves it: a byte-order mark, CR LF, and a comment after a value.
  writeBytes(settings, "\xEF\xBB\xBF[Features]\r\nmissed-approach = OFF ; too hard\r\n");
  Finished run = runInstalled(L"-e FLIGHT.APL", testing::programFolder().wstring());
  EXPECT_EQ(run.status, 0u) << run.output;
  EXPECT_TRUE(run.output.starts_with(withCrLf("TALKRADAR patch started...\nsettings file " + utf8(settings) +
                                              ": switched off: missed-approach\nsaving old generated APL file")))
      << run.output;
  EXPECT_EQ(readBytes(folder / L"FLIGHT.APL").value_or("").find("GOSUB MISSED_APP_KEY"), std::string::npos);
  EXPECT_NE(readBytes(folder / L"apl" / L"FLIGHT.APL.log").value_or("").find("\r\n  missed-approach: off\r\n"),
            std::string::npos);

  // --write-settings writes the pilot's own file, starting from the one beside the program, and only
  // where there is none.
  const fs::path own = scratch.path() / L"roaming" / L"aplpatch" / L"aplpatch.ini";
  EXPECT_EQ(runInstalled(L"--write-settings", nowhere).status, 0u);
  EXPECT_NE(readBytes(own).value_or("").find("\r\nmissed-approach = off\r\n"), std::string::npos);
  EXPECT_EQ(runInstalled(L"--write-settings", nowhere).status, 1u);
}

// Every file of `folder` with its bytes.
std::map<std::wstring, std::string> snapshot(const fs::path& folder) {
  std::map<std::wstring, std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    files[entry.path().filename()] = readBytes(entry.path()).value_or("?");
  return files;
}

TEST_F(WindowsInstalled, InstallsAndUninstallsInOneCommandEach) {
  // TR.EXE plays the adventure compiler; aplpatch.exe from the build installs itself in its place.
  fs::path compilerFolder = scratch.path() / L"adventure compiler";
  fs::create_directory(compilerFolder);
  fs::copy_file(testing::programFolder() / "aplc2.exe", compilerFolder / L"TR.EXE");
  const std::wstring compiler = (compilerFolder / L"TR.EXE").wstring();
  const std::string original = utf8(compilerFolder / L"aplc2.exe");
  const std::map<std::wstring, std::string> before = snapshot(compilerFolder);
  auto aplpatch = [&](const std::wstring& option) {
    std::wstring program = (testing::programFolder() / "aplpatch.exe").wstring();
    return testing::runCaptured(L"\"" + program + L"\" " + option + L" \"" + compiler + L"\"", folder,
                                testing::currentEnvironment(), records.path() / "console.txt");
  };

  Finished refused = aplpatch(L"--uninstall");
  EXPECT_EQ(refused.status, 1u);
  EXPECT_EQ(refused.output, withCrLf("Cannot uninstall: " + utf8(compiler) + " is not aplpatch. Nothing was changed.\n"));

  Finished installedRun = aplpatch(L"--install");
  ASSERT_EQ(installedRun.status, 0u) << installedRun.output;
  EXPECT_EQ(installedRun.output, withCrLf("Installed: " + utf8(compiler) + " renamed to " + original +
                                          ", aplpatch copied to " + utf8(compiler) + ".\n"));
  EXPECT_EQ(readBytes(compiler), readBytes(testing::programFolder() / "aplpatch.exe"));
  EXPECT_EQ(readBytes(original), readBytes(testing::programFolder() / "aplc2.exe"));
  const std::map<std::wstring, std::string> whileInstalled = snapshot(compilerFolder);

  refused = aplpatch(L"--install");
  EXPECT_EQ(refused.status, 1u);
  EXPECT_EQ(refused.output, withCrLf("Cannot install: " + utf8(compiler) + " is aplpatch already. Nothing was changed.\n"));
  EXPECT_EQ(snapshot(compilerFolder), whileInstalled);

  {
    // The host has the compiler open: the file is named with the system's reason, and nothing changes.
    HANDLE held = CreateFileW(compiler.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    refused = aplpatch(L"--uninstall");
    CloseHandle(held);
    EXPECT_EQ(refused.status, 1u);
    EXPECT_TRUE(refused.output.starts_with("Cannot uninstall: cannot put " + original + " in the place of " +
                                           utf8(compiler) + ": "))
        << refused.output;
    EXPECT_NE(refused.output.find("(error "), std::string::npos) << refused.output;
    EXPECT_EQ(snapshot(compilerFolder), whileInstalled);
  }

  Finished uninstalled = aplpatch(L"--uninstall");
  ASSERT_EQ(uninstalled.status, 0u) << uninstalled.output;
  EXPECT_EQ(snapshot(compilerFolder), before);

  writeBytes(compilerFolder / L"aplc2.exe", "in the way");
  refused = aplpatch(L"--install");
  EXPECT_EQ(refused.status, 1u);
  EXPECT_EQ(refused.output, withCrLf("Cannot install: " + original + " exists already. Nothing was changed.\n"));
  EXPECT_EQ(readBytes(compiler), before.at(L"TR.EXE"));
}

}  // namespace
}  // namespace aplpatch
