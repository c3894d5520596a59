// Every platform call of a run made to fail in turn, once and from then on, and writes that stop
// after any number of bytes. Whatever fails, the run keeps its promises: the script is either as
// generated or completely rewritten, an unfinished new script is removed (or the console says that
// it could not be), a backup is whole or not there, the exit status is the compiler's when it ran
// and -1 otherwise, and the console names the failure. A folder that cannot be synced is no
// failure: it changes nothing else.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "driver/run_patch.h"
#include "testing/fake_platform.h"
#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

constexpr int kCompilerExit = 3;
constexpr const char* kFault = "Input/output error";

// The example many times over: its rewrite takes several reads and several writes.
const std::string& script() {
  static const std::string text = [] {
    std::ifstream in(APLPATCH_EXAMPLE_SCRIPT, std::ios::binary);
    std::string example(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
    std::string repeated;
    while (!example.empty() && repeated.size() < 160 * 1024) repeated += example;
    return repeated;
  }();
  return text;
}

const std::string& rewritten() {
  static const std::string bytes = testing::rewriteWhole(script()).bytes;
  return bytes;
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

FakePlatform preparedPlatform() {
  FakePlatform platform;
  platform.addFile("F.APL", script());
  platform.setExitCode(kCompilerExit);
  platform.setReadChunk(16 * 1024);
  return platform;
}

// What a run with nothing failing does, to compare with.
struct CleanRun {
  int status;
  std::string console;
  std::map<std::string, std::string> files;
  std::vector<std::string> log;
};

const CleanRun& cleanRun() {
  static const CleanRun run = [] {
    FakePlatform platform = preparedPlatform();
    int status = runPatch(platform, platform.console(), {"-e", "F.APL"});
    return CleanRun{status, platform.printed(), platform.files(), platform.log()};
  }();
  return run;
}

bool isFolderSync(std::string_view entry) { return entry.starts_with("sync folder of "); }

bool onlyFolderSyncsFailed(const FakePlatform& platform) {
  return platform.failedOperations() == std::set<Operation>{Operation::kSyncFolder};
}

bool compilerStarted(const FakePlatform& platform) {
  return std::any_of(platform.log().begin(), platform.log().end(), [](const std::string& entry) {
    return entry.rfind("run aplc2.exe", 0) == 0 && !entry.ends_with("[failed]");
  });
}

// The promises of one run that met the failure `fault`.
void expectPromisesKept(const FakePlatform& platform, int status, std::string_view fault) {
  const std::string& console = platform.printed();
  SCOPED_TRACE(console);
  if (onlyFolderSyncsFailed(platform)) {
    EXPECT_EQ(status, cleanRun().status);
    EXPECT_EQ(console, cleanRun().console);
    EXPECT_TRUE(platform.files() == cleanRun().files) << "the files differ from a clean run's";
    return;
  }
  std::optional<std::string> now = platform.file("F.APL");
  ASSERT_TRUE(now) << "the script is missing";
  const bool isRewritten = *now == rewritten();
  EXPECT_TRUE(isRewritten || *now == script()) << "the script is neither as generated nor rewritten";

  if (compilerStarted(platform)) {
    EXPECT_EQ(status, kCompilerExit);
    EXPECT_EQ(platform.filesWhenRun().at("F.APL"), rewritten());
  } else {
    EXPECT_EQ(status, -1);
  }
  if (!isRewritten) {
    EXPECT_TRUE(contains(console, "F.APL is left as it was.\n") ||
                contains(console, "Program aborted. For use with TALKRADAR only.\n"));
  }

  for (const std::string& left : platform.temporaries()) {
    if (left.rfind("apl/", 0) != 0) {
      EXPECT_TRUE(contains(console, "Cannot remove the unfinished " + left + ": ")) << "a new script left unsaid";
    }
  }
  // A backup is the generated or the rewritten script, whole, or not there.
  EXPECT_EQ(platform.file("apl/F.APL").value_or(script()), script());
  EXPECT_EQ(platform.file("apl/F.APL.new").value_or(rewritten()), rewritten());

  // A script that cannot be opened gets the fixed abort message alone; every other failure is named.
  if (!contains(console, "Program aborted. For use with TALKRADAR only.\n")) {
    EXPECT_TRUE(contains(console, fault)) << "the console does not say what failed";
  }
}

TEST(FaultMatrix, AnyPlatformCallFailingOnceOrForGoodKeepsThePromises) {
  ASSERT_FALSE(script().empty()) << "the example is missing";
  for (bool persistent : {false, true}) {
    std::set<Operation> failed;
    bool leftBehind = false;
    for (int nth = 1;; ++nth) {
      SCOPED_TRACE(::testing::Message() << "call " << nth << (persistent ? " and every later call" : ""));
      ASSERT_LT(nth, 200) << "the run never got past the failure";
      FakePlatform platform = preparedPlatform();
      platform.failAnyCall(nth, kFault, persistent);
      int status = runPatch(platform, platform.console(), {"-e", "F.APL"});
      if (!platform.firstFailure()) {
        // The run has fewer calls than `nth`: it went through untouched.
        EXPECT_EQ(status, kCompilerExit);
        EXPECT_EQ(platform.file("F.APL"), rewritten());
        break;
      }
      failed.insert(*platform.firstFailure());
      leftBehind = leftBehind || !platform.temporaries().empty();
      expectPromisesKept(platform, status, kFault);
    }
    // Removing is only ever the cleanup after another failure.
    EXPECT_EQ(failed, (std::set<Operation>{Operation::kMakeFolder, Operation::kOpenForRead, Operation::kRead,
                                           Operation::kRewind, Operation::kCreateForWrite, Operation::kWrite,
                                           Operation::kFlushToDisk, Operation::kClose, Operation::kReplace,
                                           Operation::kSyncFolder, Operation::kRunProgram}));
    // Only a cleanup that fails as well leaves a temporary file behind.
    EXPECT_EQ(leftBehind, persistent);
  }
}

TEST(FaultMatrix, AWriteThatStopsAfterAnyNumberOfBytesLeavesTheScriptAlone) {
  const std::size_t size = rewritten().size();
  for (std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{65535}, std::size_t{65536},
                            std::size_t{65537}, std::size_t{131072}, size / 2, size - 1}) {
    SCOPED_TRACE(::testing::Message() << "full after " << limit << " of " << size << " bytes");
    FakePlatform platform = preparedPlatform();
    platform.failWritesAfter(limit, "No space left on device");
    int status = runPatch(platform, platform.console(), {"-e", "F.APL"});
    expectPromisesKept(platform, status, "No space left on device");
    EXPECT_EQ(status, -1);
    EXPECT_EQ(platform.file("F.APL"), script());
    EXPECT_EQ(platform.temporaries(), std::vector<std::string>{});
    EXPECT_TRUE(contains(platform.printed(),
                         "Program aborted. Cannot write F.APL.new: No space left on device. F.APL is left as it was.\n"));
  }
  // Room for exactly the rewrite is enough.
  FakePlatform platform = preparedPlatform();
  platform.failWritesAfter(size, "No space left on device");
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), kCompilerExit);
  EXPECT_EQ(platform.file("F.APL"), rewritten());
}

TEST(FaultMatrix, SaysSoWhenTheUnfinishedNewScriptCannotBeRemoved) {
  FakePlatform platform = preparedPlatform();
  platform.failWritesAfter(100, "No space left on device");
  platform.failCall(Operation::kRemove, 1, "Permission denied", true);
  EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), -1);
  EXPECT_TRUE(platform.printed().ends_with(
      "Program aborted. Cannot write F.APL.new: No space left on device. F.APL is left as it was.\n"
      "Cannot remove the unfinished F.APL.tmp2: Permission denied.\n"
      "Cannot write the log apl/F.APL.log: No space left on device\n"));
  EXPECT_EQ(platform.file("F.APL"), script());
  EXPECT_EQ(platform.file("F.APL.tmp2"), rewritten().substr(0, 100));
  // Removing is tried once, not again when the run ends.
  EXPECT_EQ(std::count(platform.log().begin(), platform.log().end(), "remove F.APL.tmp2 [failed]"), 1);
}

TEST(FaultMatrix, AFolderThatCannotBeSyncedChangesNothingElse) {
  const std::vector<std::string>& clean = cleanRun().log;
  // The backup, the script, the rewrite's backup and the log are each renamed into place.
  ASSERT_EQ(std::count_if(clean.begin(), clean.end(), [](const std::string& entry) { return isFolderSync(entry); }),
            4);
  for (bool persistent : {false, true}) {
    for (int nth = 1; nth <= 4; ++nth) {
      SCOPED_TRACE(::testing::Message() << "sync " << nth << (persistent ? " and every later one" : ""));
      FakePlatform platform = preparedPlatform();
      platform.failCall(Operation::kSyncFolder, nth, "Invalid argument", persistent);
      EXPECT_EQ(runPatch(platform, platform.console(), {"-e", "F.APL"}), cleanRun().status);
      EXPECT_EQ(platform.printed(), cleanRun().console);
      EXPECT_TRUE(platform.files() == cleanRun().files) << "the files differ from a clean run's";
      // The same operations in the same order: nothing is tried again or left out.
      std::vector<std::string> log = platform.log();
      for (std::string& entry : log) {
        if (isFolderSync(entry) && entry.ends_with(" [failed]")) entry.resize(entry.size() - 9);
      }
      EXPECT_EQ(log, clean);
    }
  }
}

}  // namespace
}  // namespace aplpatch
