#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/signal_cleanup.h"
#include "testing/test_files.h"
#include "testing/test_support_posix.h"

namespace aplpatch {
namespace {

using testing::readBytes;
using testing::ScopedWorkingDirectory;
using testing::ScratchFolder;
using testing::writeBytes;

class PosixPlatform : public ::testing::Test {
 protected:
  ScratchFolder folder;
  std::unique_ptr<Platform> platform = makeSystemPlatform();

  std::string at(const std::string& name) const { return folder / name; }
};

TEST_F(PosixPlatform, MakeFolderAcceptsAnExistingFolderButNotAFile) {
  EXPECT_TRUE(platform->makeFolder(at("apl")).ok());
  EXPECT_TRUE(platform->makeFolder(at("apl")).ok());
  EXPECT_TRUE(std::filesystem::is_directory(at("apl")));

  writeBytes(at("file"), "x");
  EXPECT_EQ(platform->makeFolder(at("file")).reason(), "File exists");
  EXPECT_EQ(platform->makeFolder(at("missing/apl")).reason(), "No such file or directory");
}

TEST_F(PosixPlatform, ATemporaryCountsAsInUseUntilItsFileObjectIsGoneAndOnlyThenIsRemoved) {
  CreatedTemporary created = platform->createTemporaryBeside(at("F.APL"), 0644);
  ASSERT_TRUE(created.status.ok());
  EXPECT_EQ(platform->removeUnusedTemporary(created.path), StaleRemoval::kInUse);
  // Closed but not yet renamed into place: still in use, or another run could take it away.
  ASSERT_TRUE(created.file->close().ok());
  EXPECT_EQ(platform->removeUnusedTemporary(created.path), StaleRemoval::kInUse);
  created.file.reset();
  EXPECT_EQ(platform->removeUnusedTemporary(created.path), StaleRemoval::kRemoved);
  EXPECT_FALSE(std::filesystem::exists(created.path));

  // A link or a folder under a temporary's name is never followed nor removed.
  writeBytes(at("target"), "x");
  std::filesystem::create_symlink(at("target"), at("F.APL.aaaaaaaa.tmp"));
  std::filesystem::create_directory(at("F.APL.bbbbbbbb.tmp"));
  EXPECT_EQ(platform->removeUnusedTemporary(at("F.APL.aaaaaaaa.tmp")), StaleRemoval::kFailed);
  EXPECT_EQ(platform->removeUnusedTemporary(at("F.APL.bbbbbbbb.tmp")), StaleRemoval::kFailed);
  EXPECT_TRUE(std::filesystem::is_symlink(at("F.APL.aaaaaaaa.tmp")));
  EXPECT_TRUE(std::filesystem::is_directory(at("F.APL.bbbbbbbb.tmp")));
  EXPECT_TRUE(platform->isLink(at("F.APL.aaaaaaaa.tmp")));
  EXPECT_FALSE(platform->isLink(at("F.APL.bbbbbbbb.tmp")));
}

TEST_F(PosixPlatform, TemporariesGetANewNameBesideTheTargetAndTheBitsAskedFor) {
  ::mode_t umask = ::umask(022);
  CreatedTemporary first = platform->createTemporaryBeside(at("F.APL"), 0600);
  CreatedTemporary second = platform->createTemporaryBeside(at("F.APL"), 0754);
  ::umask(umask);
  ASSERT_TRUE(first.status.ok() && second.status.ok());
  EXPECT_NE(first.path, second.path);
  for (const CreatedTemporary* created : {&first, &second}) {
    EXPECT_EQ(std::filesystem::path(created->path).parent_path(), folder.path());
    EXPECT_EQ(created->path.rfind(at("F.APL."), 0), 0u) << created->path;
  }
  struct stat info;
  ASSERT_EQ(::stat(first.path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  ASSERT_EQ(::stat(second.path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0754u);
  EXPECT_EQ(platform->createTemporaryBeside(at("missing/F.APL"), 0644).status.reason(),
            "No such file or directory");
}

TEST_F(PosixPlatform, OpenForReadTakesOnlyRegularFilesAndNeverWaits) {
  EXPECT_EQ(platform->openForRead(at("missing")).status.reason(), "No such file or directory");
  std::filesystem::create_directory(at("folder"));
  ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
  for (std::string path : {at("folder"), at("fifo"), std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    Opened<ReadFile> opened = platform->openForRead(path);
    EXPECT_EQ(opened.status.reason(), "not a regular file");
    EXPECT_EQ(opened.file, nullptr);
  }
}

TEST_F(PosixPlatform, AnOpenedFileTellsItsBitsAndReadsAgainAfterARewind) {
  writeBytes(at("F.APL"), "script");
  ::chmod(at("F.APL").c_str(), 0640);
  Opened<ReadFile> opened = platform->openForRead(at("F.APL"));
  ASSERT_TRUE(opened.status.ok());
  EXPECT_EQ(opened.file->permissions(), 0640u);
  char buffer[16];
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(std::string(buffer, opened.file->read(buffer, sizeof buffer)), "script");
    EXPECT_EQ(opened.file->read(buffer, sizeof buffer), 0u);
    ASSERT_TRUE(opened.file->rewind().ok());
  }
}

TEST_F(PosixPlatform, ReadsAndWritesEveryByteUnchanged) {
  std::string bytes;
  for (int i = 0; i < 256 * 1024; ++i) bytes.push_back(static_cast<char>(i * 7));
  writeBytes(at("out"), "an earlier, longer file that must be emptied first........................");

  Opened<WriteFile> out = platform->createForWrite(at("out"));
  ASSERT_TRUE(out.status.ok());
  ASSERT_TRUE(out.file->write(bytes.data(), bytes.size()));
  EXPECT_TRUE(out.file->flushToDisk().ok());
  EXPECT_TRUE(out.file->close().ok());

  Opened<ReadFile> in = platform->openForRead(at("out"));
  ASSERT_TRUE(in.status.ok());
  std::string read;
  char buffer[1000];
  for (std::size_t n; (n = in.file->read(buffer, sizeof buffer)) > 0;) read.append(buffer, n);
  EXPECT_TRUE(in.file->status().ok());
  EXPECT_EQ(read, bytes);
}

TEST_F(PosixPlatform, AFailedWriteIsReportedAndEveryLaterWriteFails) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Opened<WriteFile> out = platform->createForWrite("/dev/full");
  ASSERT_TRUE(out.status.ok());
  EXPECT_FALSE(out.file->write("x", 1));
  EXPECT_EQ(out.file->status().reason(), "No space left on device");
  EXPECT_FALSE(out.file->write("y", 1));
  EXPECT_EQ(out.file->status().reason(), "No space left on device");
}

TEST_F(PosixPlatform, CreateForWriteTellsWhyItFails) {
  std::filesystem::create_directory(at("F.APL.new"));
  EXPECT_EQ(platform->createForWrite(at("F.APL.new")).status.reason(), "Is a directory");
  EXPECT_EQ(platform->createForWrite(at("missing/F.APL.new")).status.reason(), "No such file or directory");
}

TEST_F(PosixPlatform, ReplacePutsTheNewFileInPlace) {
  writeBytes(at("F.APL"), "generated");
  writeBytes(at("F.APL.new"), "rewritten");
  ASSERT_TRUE(platform->replaceFile(at("F.APL.new"), at("F.APL")).ok());
  EXPECT_EQ(readBytes(at("F.APL")), "rewritten");
  EXPECT_FALSE(std::filesystem::exists(at("F.APL.new")));

  EXPECT_EQ(platform->replaceFile(at("F.APL.new"), at("F.APL")).reason(), "No such file or directory");
  EXPECT_EQ(readBytes(at("F.APL")), "rewritten");
}

TEST_F(PosixPlatform, SyncsTheFolderThatHoldsAPath) {
  writeBytes(at("F.APL"), "script");
  std::filesystem::create_directory(at("apl"));
  EXPECT_TRUE(platform->syncFolderOf(at("F.APL")).ok());
  EXPECT_TRUE(platform->syncFolderOf(at("apl/F.APL.new")).ok());
  EXPECT_TRUE(platform->syncFolderOf("/F.APL").ok());
  {
    ScopedWorkingDirectory inFolder(folder.path());
    EXPECT_TRUE(platform->syncFolderOf("F.APL").ok());
  }
  EXPECT_EQ(platform->syncFolderOf(at("missing/F.APL")).reason(), "No such file or directory");
  EXPECT_EQ(platform->syncFolderOf(at("F.APL/x")).reason(), "Not a directory");
}

TEST_F(PosixPlatform, MoveGivesANewNameButNeverTakesTheTargetsPlace) {
  writeBytes(at("TR.EXE"), "compiler");
  ASSERT_TRUE(platform->moveFile(at("TR.EXE"), at("aplc2.exe")).ok());
  EXPECT_EQ(readBytes(at("aplc2.exe")), "compiler");
  EXPECT_FALSE(std::filesystem::exists(at("TR.EXE")));

  writeBytes(at("TR.EXE"), "aplpatch");
  EXPECT_EQ(platform->moveFile(at("TR.EXE"), at("aplc2.exe")).reason(), "File exists");
  EXPECT_EQ(readBytes(at("aplc2.exe")), "compiler");
  EXPECT_EQ(readBytes(at("TR.EXE")), "aplpatch");
  EXPECT_EQ(platform->moveFile(at("missing"), at("other")).reason(), "No such file or directory");
}

// The code beside the system's words, for every failure a caller tells apart.
TEST_F(PosixPlatform, AFailureCarriesTheCodeOfTheSystemsError) {
  writeBytes(at("F.APL"), "script");
  writeBytes(at("TR.EXE"), "aplpatch");
  std::filesystem::create_directory(at("folder"));
  std::filesystem::create_directory(at("locked"));
  ::chmod(at("locked").c_str(), 0500);
  const bool privileged = ::geteuid() == 0;  // root writes into any folder
  const struct {
    const char* what;
    Status status;
    StatusCode code;
  } cases[] = {
      {"open a missing file", platform->openForRead(at("missing")).status, StatusCode::notFound},
      {"open in a missing folder", platform->openForRead(at("missing/F.APL")).status, StatusCode::notFound},
      {"open under a file", platform->openForRead(at("F.APL/x")).status, StatusCode::notFound},
      {"open a folder", platform->openForRead(at("folder")).status, StatusCode::notRegularFile},
      {"create a folder's name", platform->createForWrite(at("folder")).status, StatusCode::notRegularFile},
      {"move onto a file", platform->moveFile(at("TR.EXE"), at("F.APL")), StatusCode::alreadyExists},
      {"make a folder over a file", platform->makeFolder(at("F.APL")), StatusCode::alreadyExists},
      {"replace from nothing", platform->replaceFile(at("missing"), at("F.APL")), StatusCode::notFound},
      {"create in a locked folder", platform->createTemporaryBeside(at("locked/F.APL"), 0644).status,
       privileged ? StatusCode::ok : StatusCode::accessRefused},
  };
  ::chmod(at("locked").c_str(), 0700);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.status.code(), c.code) << c.status.reason();
    EXPECT_EQ(c.status.ok(), c.code == StatusCode::ok);
  }
  if (std::filesystem::exists("/dev/full")) {
    Opened<WriteFile> full = platform->createForWrite("/dev/full");
    ASSERT_TRUE(full.status.ok());
    EXPECT_FALSE(full.file->write("x", 1));
    EXPECT_EQ(full.file->status().code(), StatusCode::noSpace);
  }
}

TEST_F(PosixPlatform, RedirectsNothingButTellsWhichOfTwoFilesIsNewer) {
  EXPECT_FALSE(platform->redirectsLegacyPrograms());
  writeBytes(at("older"), "x");
  writeBytes(at("newer"), "x");
  std::filesystem::last_write_time(at("older"),
                                   std::filesystem::last_write_time(at("newer")) - std::chrono::milliseconds(5));
  FileStamp older = platform->fileStamp(at("older"));
  FileStamp newer = platform->fileStamp(at("newer"));
  EXPECT_TRUE(older.isFile && newer.isFile);
  EXPECT_LT(older.lastWritten, newer.lastWritten);
  EXPECT_FALSE(platform->fileStamp(at("missing")).isFile);
  EXPECT_FALSE(platform->fileStamp(folder.path()).isFile);
}

TEST_F(PosixPlatform, AnInterruptWaitsUntilANewTemporaryIsOnTheListAndThenRemovesIt) {
  const std::string temporary = at("F.APL.tmp");
  const std::string reached = at("reached");
  pid_t child = ::fork();
  if (child == 0) {
    signal_cleanup::install();
    {
      signal_cleanup::Deferral deferral;
      ::kill(::getpid(), SIGTERM);
      ::close(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600));
      signal_cleanup::guard(temporary.c_str());
      ::close(::open(reached.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600));
    }
    ::_exit(0);  // never reached: the interrupt ends the program when the deferral does
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_TRUE(std::filesystem::exists(reached)) << "the interrupt did not wait";
  EXPECT_FALSE(std::filesystem::exists(temporary)) << "the temporary was left behind";
}

void writeProgram(const std::string& path, const std::string& text, bool runnable = true) {
  writeBytes(path, text);
  ::chmod(path.c_str(), runnable ? 0755 : 0644);
}

// Starts the program file at its path in the scratch folder: finding it is the run's business.
class PosixProgramRun : public PosixPlatform {
 protected:
  ProgramRun run(const std::vector<std::string>& arguments = {"-e", "F.APL"}) {
    ScopedWorkingDirectory inFolder(folder.path());
    return platform->runProgram(at("aplc2.exe"), arguments);
  }
};

TEST_F(PosixProgramRun, PassesTheArgumentsUnchangedWithoutAShell) {
  writeProgram(at("aplc2.exe"), "#!/bin/sh\nprintf '[%s]\\n' \"$@\" > args.txt\n");
  ProgramRun result = run({"-e", "C:\\my flights\\F&echo hi;\"x\" $HOME \xDC.APL"});
  ASSERT_TRUE(result.status.ok()) << result.status.reason();
  EXPECT_EQ(readBytes(at("args.txt")), "[-e]\n[C:\\my flights\\F&echo hi;\"x\" $HOME \xDC.APL]\n");
}

TEST_F(PosixProgramRun, ReturnsTheProgramsExitStatus) {
  for (int code : {0, 1, 3, 255}) {
    writeProgram(at("aplc2.exe"), "#!/bin/sh\nexit " + std::to_string(code) + "\n");
    ProgramRun result = run();
    EXPECT_TRUE(result.status.ok());
    EXPECT_EQ(result.exitCode, code);
  }
}

TEST_F(PosixProgramRun, TellsWhyAProgramDidNotRun) {
  EXPECT_EQ(run().status.reason(), "No such file or directory");

  writeProgram(at("aplc2.exe"), "this is no program\n");
  EXPECT_EQ(run().status.reason(), "Exec format error");
}

TEST_F(PosixProgramRun, TellsASignalApartFromAFailedStart) {
  for (auto [signal, name] : {std::pair{9, "SIGKILL"}, std::pair{11, "SIGSEGV"}}) {
    writeProgram(at("aplc2.exe"), "#!/bin/sh\nkill -" + std::to_string(signal) + " $$\n");
    ProgramRun result = run();
    EXPECT_TRUE(result.status.ok());
    EXPECT_EQ(result.signal, signal);
    EXPECT_EQ(result.signalName, name);
  }
}

}  // namespace
}  // namespace aplpatch
