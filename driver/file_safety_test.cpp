// The real program against what a careless or hostile neighbour can do to the files around a script:
// links planted at the names it writes, runs at the same time, closed standard streams, private
// permissions, scripts that are no files, and a compiler that crashes. Each test checks the disk.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

constexpr const char* kScript = "start:\r\nwait 2\r\nende:\r\n";

// How the program is started.
struct Start {
  std::vector<int> closedStreams;  // of 0, 1 and 2; the others go to the console file
  mode_t umask = 022;
  std::map<std::string, std::string> environment;  // set on top of this process's
};

class FileSafety : public ::testing::Test {
 protected:
  ScratchFolder work;     // the script's folder and the working directory
  ScratchFolder records;  // what the tests capture

  // Starts `aplpatch -e script` in `work` with the stand-in compiler first on the search path.
  pid_t start(const std::string& script, const Start& how = {}) {
    std::string console = records / ("console" + std::to_string(++started_) + ".txt");
    pid_t child = ::fork();
    if (child != 0) return child;
    std::string path = fs::path(APLPATCH_STANDIN_COMPILER).parent_path().string() + ":/usr/bin:/bin";
    int out = ::open(console.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || ::chdir(work.path().c_str()) != 0 || ::setenv("PATH", path.c_str(), 1) != 0) ::_exit(126);
    for (const auto& [name, value] : how.environment) ::setenv(name.c_str(), value.c_str(), 1);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::close(out);
    for (int fd : how.closedStreams) ::close(fd);
    ::umask(how.umask);
    ::execl(APLPATCH_PROGRAM, APLPATCH_PROGRAM, "-e", script.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Waits for `child`; its exit status, or 128 + the signal that ended it.
  static int wait(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  int run(const std::string& script, const Start& how = {}) { return wait(start(script, how)); }
  std::string console() const { return readBytes(records / ("console" + std::to_string(started_) + ".txt")).value_or(""); }

  // The names in `folder` that are temporaries of a run.
  std::vector<std::string> temporariesIn(const fs::path& folder) const {
    std::vector<std::string> found;
    if (!fs::exists(folder)) return found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == ".tmp") found.push_back(entry.path().string());
    }
    return found;
  }

 private:
  int started_ = 0;
};

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// A link planted at a name that the run writes.
struct Planted {
  const char* name;
  bool symbolic;  // a symbolic link to a file elsewhere, or a hard link to the script itself
};

// Test listings and failures name the link, not its bytes.
void PrintTo(const Planted& planted, std::ostream* out) {
  *out << (planted.symbolic ? "symbolic link at " : "hard link at ") << planted.name;
}

class PlantedLink : public FileSafety, public ::testing::WithParamInterface<Planted> {};

TEST_P(PlantedLink, IsNeverFollowedAndTheScriptIsRewrittenWhole) {
  const Planted& planted = GetParam();
  writeBytes(work / "F.APL", kScript);
  fs::create_directory(work / "apl");
  writeBytes(records / "victim", "not yours");
  // Another name for the script's own data, to see it is neither emptied nor overwritten.
  fs::create_hard_link(work / "F.APL", records / "script data");
  if (planted.symbolic) {
    fs::create_symlink(records / "victim", work / planted.name);
  } else {
    fs::create_hard_link(work / "F.APL", work / planted.name);
  }

  ASSERT_EQ(run("F.APL"), 0) << console();
  const std::string rewritten = testing::rewriteWhole(kScript).bytes;
  EXPECT_EQ(readBytes(records / "victim"), "not yours");
  EXPECT_EQ(readBytes(records / "script data"), kScript);
  EXPECT_EQ(readBytes(work / "F.APL"), rewritten);
  EXPECT_EQ(readBytes(work / "apl/F.APL"), kScript);
  EXPECT_EQ(readBytes(work / "apl/F.APL.new"), rewritten);
  // In the backup folder the link is replaced by a file of its own.
  EXPECT_FALSE(fs::is_symlink(work / "apl/F.APL") || fs::is_symlink(work / "apl/F.APL.new"));
  EXPECT_EQ(temporariesIn(work.path()).size() + temporariesIn(work / "apl").size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    AtEveryFixedName, PlantedLink,
    ::testing::Values(Planted{"F.APL.new", true}, Planted{"F.APL.new", false}, Planted{"apl/F.APL", true},
                      Planted{"apl/F.APL", false}, Planted{"apl/F.APL.new", true},
                      Planted{"apl/F.APL.new", false}),
    [](const ::testing::TestParamInfo<Planted>& planted) {
      std::string name = std::string(planted.param.symbolic ? "Symlink" : "HardLink") + "At" + planted.param.name;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

TEST_F(FileSafety, RunsAtOnceOnOneScriptOnlyEverHandOnCompleteFiles) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "too slow under the sanitizers; the default build runs it";
#endif
  std::string example = readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("");
  ASSERT_FALSE(example.empty());
  std::string script;
  while (script.size() < (10u << 20)) script += example;
  writeBytes(work / "F.APL", script);

  // A later run may read an earlier one's rewrite (and hand it on as already patched): each
  // generation has a size of its own.
  constexpr int kRuns = 4;
  std::vector<std::string> generations = {script};
  for (int i = 0; i < kRuns; ++i) generations.push_back(testing::rewriteWhole(generations.back()).bytes);
  std::map<std::size_t, int> generationOfSize;
  for (int i = 1; i <= kRuns; ++i) generationOfSize[generations[i].size()] = i;

  fs::create_directory(records / "sizes");
  Start how;
  how.environment["APLC2_STANDIN_SIZES"] = records / "sizes";
  std::vector<pid_t> runs;
  // Half start together, half one after another while the others are busy.
  for (int i = 0; i < kRuns; ++i) {
    if (i >= kRuns / 2) std::this_thread::sleep_for(std::chrono::milliseconds(40));
    runs.push_back(start("F.APL", how));
  }
  for (pid_t child : runs) EXPECT_EQ(wait(child), 0);

  std::vector<std::string> handedOn;
  for (const fs::directory_entry& entry : fs::directory_iterator(records / "sizes"))
    handedOn.push_back(readBytes(entry.path()).value_or(""));
  EXPECT_EQ(handedOn.size(), static_cast<std::size_t>(kRuns));
  for (const std::string& size : handedOn)
    EXPECT_EQ(generationOfSize.count(std::stoul(size)), 1u) << "the compiler got " << size << " bytes";
  std::string final = readBytes(work / "F.APL").value_or("");
  ASSERT_EQ(generationOfSize.count(final.size()), 1u);
  EXPECT_TRUE(final == generations[generationOfSize[final.size()]]);
  EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"F.APL", "apl"}));
  EXPECT_EQ(namesIn(work / "apl"), (std::set<std::string>{"F.APL", "F.APL.log", "F.APL.new"}));
}

TEST_F(FileSafety, ClosedStandardStreamsNeverLetConsoleTextIntoTheFiles) {
  const std::string rewritten = testing::rewriteWhole(kScript).bytes;
  const std::vector<std::vector<int>> closings = {{0}, {1}, {2}, {0, 1, 2}};
  for (const std::vector<int>& closed : closings) {
    SCOPED_TRACE(::testing::PrintToString(closed));
    fs::remove_all(work / "apl");
    writeBytes(work / "F.APL", kScript);
    Start how;
    how.closedStreams = closed;
    EXPECT_EQ(run("F.APL", how), 0) << console();
    EXPECT_EQ(readBytes(work / "F.APL"), rewritten);
    EXPECT_EQ(readBytes(work / "apl/F.APL"), kScript);
    EXPECT_EQ(readBytes(work / "apl/F.APL.new"), rewritten);
  }
}

TEST_F(FileSafety, TheScriptAndItsBackupsKeepTheScriptsPermissions) {
  for (mode_t mode : {0600, 0755, 0444}) {
    SCOPED_TRACE(::testing::Message() << std::oct << mode);
    fs::remove_all(work / "apl");
    fs::remove(work / "F.APL");
    writeBytes(work / "F.APL", kScript);
    ::chmod((work / "F.APL").c_str(), mode);
    ASSERT_EQ(run("F.APL"), 0) << console();
    for (const char* name : {"F.APL", "apl/F.APL", "apl/F.APL.new"}) {
      struct stat info;
      ASSERT_EQ(::stat((work / name).c_str(), &info), 0) << name;
      EXPECT_EQ(info.st_mode & 07777, mode) << name;
    }
    struct stat folder;
    ASSERT_EQ(::stat((work / "apl").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 07777, 0755u);
  }
}

TEST_F(FileSafety, AScriptThatIsNoFileIsRefusedAtOnceAndNothingIsCreated) {
  ASSERT_EQ(::mkfifo((work / "F.APL").c_str(), 0600), 0);
  for (std::string script : {"F.APL", "/dev/zero"}) {
    SCOPED_TRACE(script);
    auto begun = std::chrono::steady_clock::now();
    EXPECT_EQ(run(script), 255);
    EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(1));
    EXPECT_EQ(console(), "TALKRADAR patch started...\n"
                         "saving old generated APL file " + script + " ...\n"
                         "Cannot open " + script + ": not a regular file.\n"
                         "Program aborted. For use with TALKRADAR only.\n");
    EXPECT_EQ(namesIn(work.path()), std::set<std::string>{"F.APL"});
  }
}

TEST_F(FileSafety, ACompilerEndedBySignalIsToldApartFromOneThatDidNotStart) {
  writeBytes(work / "F.APL", kScript);
  // Found in the working directory before the stand-in on the search path.
  writeBytes(work / "aplc2.exe", "#!/bin/sh\nkill -SEGV $$\n");
  ::chmod((work / "aplc2.exe").c_str(), 0755);
  EXPECT_EQ(run("F.APL"), 139);
  EXPECT_TRUE(console().ends_with("running original ADV generator...\n"
                                  "aplc2.exe ended by signal 11 (SIGSEGV).\n"
                                  "Keys: none added. Log: apl/F.APL.log\n"))
      << console();
  EXPECT_EQ(readBytes(work / "F.APL"), testing::rewriteWhole(kScript).bytes);
}

}  // namespace
}  // namespace aplpatch
