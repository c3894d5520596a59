#include "platform/temporary_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/signal_cleanup.h"
#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

void writeText(TemporaryFile& file, const std::string& text) { file.sink().write(text.data(), text.size()); }

TEST(TemporaryFile, RemovesItselfUnlessCommitted) {
  FakePlatform platform;
  {
    TemporaryFile file(platform, "F.APL");
    ASSERT_TRUE(file.create().ok());
    writeText(file, "half a scr");
  }
  EXPECT_EQ(platform.log(), (std::vector<std::string>{"create F.APL.tmp1", "write F.APL.tmp1",
                                                      "close F.APL.tmp1 unchecked", "remove F.APL.tmp1"}));
  EXPECT_TRUE(platform.files().empty());
}

TEST(TemporaryFile, TakesTheTargetsPlaceWithTheBitsAskedForWhenCommitted) {
  FakePlatform platform;
  platform.addFile("F.APL", "old");
  {
    TemporaryFile file(platform, "F.APL");
    ASSERT_TRUE(file.create(0600).ok());
    writeText(file, "new");
    ASSERT_TRUE(file.finish().ok());
    ASSERT_TRUE(file.commitAs("F.APL").ok());
  }
  EXPECT_EQ(platform.files(), (std::map<std::string, std::string>{{"F.APL", "new"}}));
  EXPECT_EQ(platform.permissions("F.APL"), 0600u);
  // The rename is made sure of on the disk.
  EXPECT_EQ(std::vector<std::string>(platform.log().end() - 2, platform.log().end()),
            (std::vector<std::string>{"replace F.APL with F.APL.tmp1", "sync folder of F.APL"}));
}

TEST(TemporaryFile, KeepsAFileThatCouldNotTakeTheTargetsPlaceUntilDiscarded) {
  FakePlatform platform;
  platform.addFile("F.APL", "old");
  platform.failCall(Operation::kReplace, 1, "Permission denied");
  {
    TemporaryFile file(platform, "F.APL");
    ASSERT_TRUE(file.create().ok());
    writeText(file, "new");
    ASSERT_TRUE(file.finish().ok());
    EXPECT_EQ(file.commitAs("F.APL").reason(), "Permission denied");
  }
  EXPECT_EQ(platform.files(), (std::map<std::string, std::string>{{"F.APL", "old"}}));
}

TEST(TemporaryFile, FinishReportsTheFirstFailureAndClosesAnyway) {
  struct Case {
    const char* what;
    Operation operation;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {"write", Operation::kWrite,
       {"create T.tmp1", "write T.tmp1 [failed]", "close T.tmp1", "remove T.tmp1"}},
      {"flush", Operation::kFlushToDisk,
       {"create T.tmp1", "write T.tmp1", "flush T.tmp1 to disk [failed]", "close T.tmp1", "remove T.tmp1"}},
      {"close", Operation::kClose,
       {"create T.tmp1", "write T.tmp1", "flush T.tmp1 to disk", "close T.tmp1 [failed]", "remove T.tmp1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.failCall(c.operation, 1, "Input/output error");
    {
      TemporaryFile file(platform, "T");
      ASSERT_TRUE(file.create().ok());
      writeText(file, "text");
      Status finished = file.finish();
      EXPECT_FALSE(finished.ok());
      EXPECT_EQ(finished.reason(), "Input/output error");
    }
    EXPECT_EQ(platform.log(), c.log);
  }
}

int guardedCount = 0;
void countGuarded(const char*) { ++guardedCount; }

// The temporaries an interrupt would remove now; the paths are only counted, never read.
int guardedTemporaries() {
  guardedCount = 0;
  signal_cleanup::removeAll(countGuarded);
  return guardedCount;
}

// However a temporary ends, its place on the interrupt's list is given back: a list that fills up
// leaves the next run's temporaries behind on an interrupt. More rounds than the list has places.
TEST(TemporaryFile, GivesBackItsPlaceOnTheInterruptsListHoweverItEnds) {
  const struct {
    const char* how;
    std::function<void(TemporaryFile&)> end;
  } endings[] = {
      {"discarded", [](TemporaryFile& file) { EXPECT_TRUE(file.discard().ok()); }},
      {"dropped", [](TemporaryFile&) {}},
      {"committed", [](TemporaryFile& file) {
         ASSERT_TRUE(file.finish().ok());
         EXPECT_TRUE(file.commitAs("F.APL").ok());
       }},
      {"committed as new", [](TemporaryFile& file) {
         ASSERT_TRUE(file.finish().ok());
         EXPECT_TRUE(file.commitAsNew("G.APL").ok());
       }},
  };
  const int before = guardedTemporaries();
  for (const auto& ending : endings) {
    SCOPED_TRACE(ending.how);
    FakePlatform platform;
    for (int round = 0; round < 20; ++round) {
      platform.removeFile("G.APL");
      {
        TemporaryFile file(platform, "F.APL");
        ASSERT_TRUE(file.create().ok());
        ASSERT_EQ(guardedTemporaries(), before + 1) << "round " << round;
        ending.end(file);
      }
      EXPECT_EQ(guardedTemporaries(), before) << "round " << round;
    }
  }
  EXPECT_EQ(guardedTemporaries(), before);
}

}  // namespace
}  // namespace aplpatch
