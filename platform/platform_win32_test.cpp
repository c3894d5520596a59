#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/system_win32.h"
#include "testing/test_files.h"
#include "testing/test_support_win32.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScratchFolder;
using testing::utf8;
using testing::writeBytes;

// A name with a blank, a letter of the ANSI code page and letters outside it: "Łódź ü.APL".
const wchar_t* const kWideName = L"\u0141\u00F3d\u017A \u00FC.APL";

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class WindowsPlatform : public ::testing::Test {
 protected:
  ScratchFolder folder;
  std::unique_ptr<Platform> platform = makeSystemPlatform();

  fs::path path(const std::wstring& name) const { return folder.path() / name; }
  // The UTF-8 path that the run sequence hands to the platform.
  std::string at(const std::wstring& name) const { return utf8(path(name)); }

  // Writes a new `path` beside it and puts it in place, as a run does, and reads it back.
  void replaceAndReadBack(const std::string& path) {
    Opened<WriteFile> out = platform->createForWrite(path + ".new");
    ASSERT_TRUE(out.status.ok()) << out.status.reason();
    ASSERT_TRUE(out.file->write("rewritten", 9));
    ASSERT_TRUE(out.file->close().ok());
    ASSERT_TRUE(platform->replaceFile(path + ".new", path).ok());
    Opened<ReadFile> in = platform->openForRead(path);
    ASSERT_TRUE(in.status.ok()) << in.status.reason();
    char buffer[32];
    EXPECT_EQ(std::string(buffer, in.file->read(buffer, sizeof buffer)), "rewritten");
  }
};

TEST_F(WindowsPlatform, MakeFolderAcceptsAnExistingFolderButNotAFile) {
  EXPECT_TRUE(platform->makeFolder(at(L"apl \u0141")).ok());
  EXPECT_TRUE(platform->makeFolder(at(L"apl \u0141")).ok());
  EXPECT_TRUE(fs::is_directory(path(L"apl \u0141")));

  writeBytes(path(L"file"), "x");
  EXPECT_TRUE(endsWith(platform->makeFolder(at(L"file")).reason(), "(error 183)"));
  EXPECT_TRUE(endsWith(platform->makeFolder(at(L"missing\\apl")).reason(), "(error 3)"));
}

TEST_F(WindowsPlatform, TemporariesGetANewNameBesideTheTargetAndAreNeverReadOnly) {
  writeBytes(path(kWideName), "script");
  SetFileAttributesW(path(kWideName).c_str(), FILE_ATTRIBUTE_READONLY);
  CreatedTemporary first = platform->createTemporaryBeside(at(kWideName), 0444);
  CreatedTemporary second = platform->createTemporaryBeside(at(kWideName), 0444);
  SetFileAttributesW(path(kWideName).c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(first.status.ok()) << first.status.reason();
  ASSERT_TRUE(second.status.ok()) << second.status.reason();
  EXPECT_NE(first.path, second.path);
  EXPECT_EQ(first.path.rfind(at(kWideName) + ".", 0), 0u) << first.path;
  fs::path created(std::u8string(first.path.begin(), first.path.end()));
  EXPECT_EQ(GetFileAttributesW(created.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_TRUE(endsWith(platform->createTemporaryBeside(at(L"missing\\F.APL"), 0644).status.reason(), "(error 3)"));
}

TEST_F(WindowsPlatform, OpenForReadTakesOnlyFilesOnADisk) {
  EXPECT_EQ(platform->openForRead("NUL").status.reason(), "not a regular file");
  EXPECT_EQ(platform->openForRead("NUL").file, nullptr);
}

TEST_F(WindowsPlatform, OpenForReadTellsWhyItFails) {
  EXPECT_TRUE(endsWith(platform->openForRead(at(L"missing")).status.reason(), "(error 2)"));
  fs::create_directory(path(L"folder"));
  Opened<ReadFile> opened = platform->openForRead(at(L"folder"));
  EXPECT_TRUE(endsWith(opened.status.reason(), "(error 5)")) << opened.status.reason();
  EXPECT_EQ(opened.file, nullptr);
}

// The code beside the system's words, for every failure a caller tells apart.
TEST_F(WindowsPlatform, AFailureCarriesTheCodeOfTheSystemsError) {
  writeBytes(path(L"F.APL"), "script");
  writeBytes(path(L"TR.EXE"), "aplpatch");
  writeBytes(path(L"held.APL"), "script");
  fs::create_directory(path(L"folder"));
  SetFileAttributesW(path(L"held.APL").c_str(), FILE_ATTRIBUTE_READONLY);
  const struct {
    const char* what;
    Status status;
    StatusCode code;
  } cases[] = {
      {"open a missing file", platform->openForRead(at(L"missing")).status, StatusCode::notFound},
      {"open in a missing folder", platform->openForRead(at(L"missing\\F.APL")).status, StatusCode::notFound},
      {"open a folder", platform->openForRead(at(L"folder")).status, StatusCode::notRegularFile},
      {"open a device", platform->openForRead("NUL").status, StatusCode::notRegularFile},
      {"move onto a file", platform->moveFile(at(L"TR.EXE"), at(L"F.APL")), StatusCode::alreadyExists},
      {"make a folder over a file", platform->makeFolder(at(L"F.APL")), StatusCode::alreadyExists},
      {"replace a read-only file", platform->replaceFile(at(L"TR.EXE"), at(L"held.APL")), StatusCode::accessRefused},
      {"replace from nothing", platform->replaceFile(at(L"missing"), at(L"F.APL")), StatusCode::notFound},
  };
  SetFileAttributesW(path(L"held.APL").c_str(), FILE_ATTRIBUTE_NORMAL);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.status.code(), c.code) << c.status.reason();
  }
  EXPECT_EQ(win32::errorStatus(ERROR_DISK_FULL).code(), StatusCode::noSpace);
}

TEST_F(WindowsPlatform, ReadsAndWritesEveryByteUnchanged) {
  // Text mode would turn LF into CR LF and stop reading at Ctrl-Z (0x1A).
  std::string bytes;
  for (int i = 0; i < 256 * 1024; ++i) bytes.push_back(static_cast<char>(i * 7));
  writeBytes(path(kWideName), "an earlier, longer file that must be emptied first........................");

  Opened<WriteFile> out = platform->createForWrite(at(kWideName));
  ASSERT_TRUE(out.status.ok()) << out.status.reason();
  ASSERT_TRUE(out.file->write(bytes.data(), bytes.size()));
  EXPECT_TRUE(out.file->flushToDisk().ok());
  EXPECT_TRUE(out.file->close().ok());
  EXPECT_FALSE(out.file->close().ok());

  Opened<ReadFile> in = platform->openForRead(at(kWideName));
  ASSERT_TRUE(in.status.ok()) << in.status.reason();
  std::string read;
  char buffer[1000];
  for (std::size_t n; (n = in.file->read(buffer, sizeof buffer)) > 0;) read.append(buffer, n);
  EXPECT_TRUE(in.file->status().ok());
  EXPECT_EQ(read, bytes);
}

TEST_F(WindowsPlatform, CreateForWriteTellsWhyItFails) {
  fs::create_directory(path(L"F.APL.new"));
  EXPECT_TRUE(endsWith(platform->createForWrite(at(L"F.APL.new")).status.reason(), "(error 5)"));
  EXPECT_TRUE(endsWith(platform->createForWrite(at(L"missing\\F.APL.new")).status.reason(), "(error 3)"));
}

TEST_F(WindowsPlatform, ReplacePutsTheNewFileInPlace) {
  writeBytes(path(kWideName), "generated");
  writeBytes(path(std::wstring(kWideName) + L".new"), "rewritten");
  ASSERT_TRUE(platform->replaceFile(at(std::wstring(kWideName) + L".new"), at(kWideName)).ok());
  EXPECT_EQ(readBytes(path(kWideName)), "rewritten");
  EXPECT_FALSE(fs::exists(path(std::wstring(kWideName) + L".new")));

  EXPECT_TRUE(endsWith(platform->replaceFile(at(L"F.APL.new"), at(kWideName)).reason(), "(error 2)"));
  EXPECT_EQ(readBytes(path(kWideName)), "rewritten");
}

TEST_F(WindowsPlatform, MoveGivesANewNameButNeverTakesTheTargetsPlace) {
  writeBytes(path(L"TR.EXE"), "compiler");
  ASSERT_TRUE(platform->moveFile(at(L"TR.EXE"), at(L"aplc2.exe")).ok());
  EXPECT_EQ(readBytes(path(L"aplc2.exe")), "compiler");
  EXPECT_FALSE(fs::exists(path(L"TR.EXE")));

  writeBytes(path(L"TR.EXE"), "aplpatch");
  std::string refused = platform->moveFile(at(L"TR.EXE"), at(L"aplc2.exe")).reason();
  EXPECT_TRUE(endsWith(refused, "(error 183)")) << refused;
  EXPECT_EQ(readBytes(path(L"aplc2.exe")), "compiler");
  EXPECT_EQ(readBytes(path(L"TR.EXE")), "aplpatch");
}

// Opens `path` the way an editor or a virus scanner may: sharing nothing, so that it cannot be
// replaced while it is open.
HANDLE holdFile(const fs::path& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(WindowsPlatform, ReplaceWaitsForAProgramThatHoldsTheScriptBriefly) {
  writeBytes(path(L"F.APL"), "generated");
  writeBytes(path(L"F.APL.new"), "rewritten");
  HANDLE held = holdFile(path(L"F.APL"));
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread letGo([held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CloseHandle(held);
  });
  Status replaced = platform->replaceFile(at(L"F.APL.new"), at(L"F.APL"));
  letGo.join();
  EXPECT_TRUE(replaced.ok()) << replaced.reason();
  EXPECT_EQ(readBytes(path(L"F.APL")), "rewritten");
}

TEST_F(WindowsPlatform, ReplaceGivesUpOnAScriptHeldForLong) {
  writeBytes(path(L"F.APL"), "generated");
  writeBytes(path(L"F.APL.new"), "rewritten");
  HANDLE held = holdFile(path(L"F.APL"));
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  auto start = std::chrono::steady_clock::now();
  Status replaced = platform->replaceFile(at(L"F.APL.new"), at(L"F.APL"));
  auto waited = std::chrono::steady_clock::now() - start;
  CloseHandle(held);
  EXPECT_FALSE(replaced.ok());
  EXPECT_GE(waited, std::chrono::milliseconds(1500));
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_EQ(readBytes(path(L"F.APL")), "generated");
  EXPECT_EQ(readBytes(path(L"F.APL.new")), "rewritten");
}

TEST_F(WindowsPlatform, WorksOnPathsLongerThanTheClassicLimit) {
  fs::path deep = folder.path();
  std::string deepText = utf8(deep);
  for (int level = 0; level < 6; ++level) {
    std::wstring name(60, static_cast<wchar_t>(L'a' + level));
    deep /= name;
    deepText += '\\';
    deepText += utf8(name);
    ASSERT_TRUE(platform->makeFolder(deepText).ok()) << deepText.size();
  }
  ASSERT_GT(deepText.size(), 300u);
  const std::string script = deepText + "\\F.APL";
  ASSERT_NO_FATAL_FAILURE(replaceAndReadBack(script));
  CreatedTemporary beside = platform->createTemporaryBeside(script, 0644);
  ASSERT_TRUE(beside.status.ok()) << beside.status.reason();
  beside.file.reset();
  EXPECT_TRUE(platform->removeFile(beside.path).ok());
  EXPECT_TRUE(platform->removeFile(script).ok());
}

TEST_F(WindowsPlatform, AShortPathUnderADeepWorkingFolderIsMeasuredInFull) {
  // A working folder of 230 characters, still within the classic limit, and a name of 34 inside it.
  fs::path deep = folder.path() / std::wstring(229 - folder.path().wstring().size(), L'd');
  ASSERT_EQ(deep.wstring().size(), 230u);
  fs::create_directory(deep);
  const std::string name = std::string(30, 'f') + ".APL";
  {
    testing::ScopedWorkingDirectory inFolder(folder.path());
    EXPECT_EQ(win32::systemPath(name), std::wstring(name.begin(), name.end()));
  }
  testing::ScopedWorkingDirectory inDeep(deep);
  std::wstring full = fs::current_path().wstring() + L"\\" + std::wstring(name.begin(), name.end());
  ASSERT_GT(full.size(), 260u);
  EXPECT_EQ(win32::systemPath(name), L"\\\\?\\" + full);

  ASSERT_NO_FATAL_FAILURE(replaceAndReadBack(name));
  EXPECT_TRUE(platform->removeFile(name).ok());
}

}  // namespace
}  // namespace aplpatch
