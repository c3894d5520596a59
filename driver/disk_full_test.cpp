// A real full disk: the run over the real platform in a child process whose files may not grow past
// a limit (RLIMIT_FSIZE), so that writing fails with "File too large" as it would on a full disk.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "driver/run_patch.h"
#include "platform/platform.h"
#include "platform/program_console.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScratchFolder;

struct Finished {
  int status;           // the exit status as the host sees it
  std::string console;  // standard output
};

// Runs `aplpatch -e F.APL` in `folder` in a child process that may write no file beyond `limit`
// bytes. The over-long write then fails instead of ending the process with SIGXFSZ.
Finished patchWithFileSizeLimit(const ScratchFolder& folder, rlim_t limit, const std::string& consoleFile) {
  std::fflush(stdout);
  pid_t child = ::fork();
  if (child == 0) {
    struct rlimit small = {limit, limit};
    if (::chdir(folder.path().c_str()) != 0 || std::freopen(consoleFile.c_str(), "w", stdout) == nullptr ||
        ::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &small) != 0 ||
        ::setenv("PATH", fs::path(APLPATCH_STANDIN_COMPILER).parent_path().c_str(), 1) != 0) {
      ::_exit(126);
    }
    std::unique_ptr<Platform> platform = makeSystemPlatform();
    std::unique_ptr<ProgramConsole> console = makeSystemConsole();
    int status = runPatch(*platform, *console, {"-e", "F.APL"});
    std::fflush(stdout);
    ::_exit(status & 0xFF);
  }
  int waitStatus = 0;
  ::waitpid(child, &waitStatus, 0);
  int status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
  return {status, readBytes(consoleFile).value_or("")};
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

TEST(DiskFull, LeavesTheScriptWholeAndNoPartialFileBehind) {
  std::string example = readBytes(APLPATCH_EXAMPLE_SCRIPT).value_or("");
  ASSERT_FALSE(example.empty());
  std::string script;
  while (script.size() < 40000) script += example;
  const std::size_t rewrittenSize = testing::rewriteWhole(script).bytes.size();
  ASSERT_GT(rewrittenSize, script.size() + 2);

  struct Case {
    const char* what;
    rlim_t limit;
    std::set<std::string> backups;  // what the backup folder holds afterwards
    const char* backupMessage;
  };
  const Case cases[] = {
      {"room for the backup but not for the rewrite", (script.size() + rewrittenSize) / 2,
       {"F.APL", "F.APL.log"}, ""},
      {"room for neither", script.size() / 2, {"F.APL.log"},
       "backup failed: cannot copy F.APL to apl/F.APL: File too large\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder work;
    ScratchFolder records;
    testing::writeBytes(work / "F.APL", script);
    Finished run = patchWithFileSizeLimit(work, c.limit, records / "console.txt");

    // The flight is compiled all the same, on the script as generated.
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.console.starts_with("TALKRADAR patch started...\n"
                                        "saving old generated APL file F.APL ...\n" +
                                        std::string(c.backupMessage) + "inserting missing RETURNS ...\n"))
        << run.console;
    EXPECT_NE(run.console.find("Program aborted. Cannot write F.APL.new: File too large. F.APL is left as it was.\n"
                               "F.APL is compiled as generated, without the additions.\n"
                               "running original ADV generator...\n"),
              std::string::npos)
        << run.console;
    EXPECT_TRUE(run.console.ends_with("script F.APL: " + std::to_string(script.size()) + " bytes\n")) << run.console;
    EXPECT_EQ(readBytes(work / "F.APL"), script);
    EXPECT_EQ(namesIn(work.path()), (std::set<std::string>{"F.APL", "apl"}));
    EXPECT_EQ(namesIn(work / "apl"), c.backups);
    if (c.backups.count("F.APL")) {
      EXPECT_EQ(readBytes(work / "apl/F.APL"), script);
    }
  }
}

}  // namespace
}  // namespace aplpatch
