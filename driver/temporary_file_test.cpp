#include "driver/temporary_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/fake_platform.h"

namespace aplpatch {
namespace {

using testing::FakePlatform;
using testing::Operation;

void writeText(TemporaryFile& file, const std::string& text) { file.sink().write(text.data(), text.size()); }

TEST(TemporaryFile, RemovesItselfUnlessCommitted) {
  FakePlatform platform;
  {
    TemporaryFile file(platform, "F.APL.new");
    ASSERT_TRUE(file.create().ok());
    writeText(file, "half a scr");
  }
  EXPECT_EQ(platform.log(), (std::vector<std::string>{"create F.APL.new", "write F.APL.new",
                                                      "close F.APL.new unchecked", "remove F.APL.new"}));
  EXPECT_TRUE(platform.files().empty());
}

TEST(TemporaryFile, TakesTheTargetsPlaceWhenCommitted) {
  FakePlatform platform;
  platform.addFile("F.APL", "old");
  {
    TemporaryFile file(platform, "F.APL.new");
    ASSERT_TRUE(file.create().ok());
    writeText(file, "new");
    ASSERT_TRUE(file.finish().ok());
    ASSERT_TRUE(file.commitAs("F.APL").ok());
  }
  EXPECT_EQ(platform.files(), (std::map<std::string, std::string>{{"F.APL", "new"}}));
  EXPECT_EQ(platform.log().back(), "replace F.APL with F.APL.new");
}

TEST(TemporaryFile, LeavesAFileItCouldNotCreateAlone) {
  FakePlatform platform;
  platform.addFile("F.APL.new", "someone else's");
  platform.failCall(Operation::kCreateForWrite, 1, "Permission denied");
  {
    TemporaryFile file(platform, "F.APL.new");
    Status created = file.create();
    EXPECT_EQ(created.reason(), "Permission denied");
  }
  EXPECT_EQ(platform.log(), std::vector<std::string>{"create F.APL.new [failed]"});
  EXPECT_EQ(platform.file("F.APL.new"), "someone else's");
}

TEST(TemporaryFile, FinishReportsTheFirstFailureAndClosesAnyway) {
  struct Case {
    const char* what;
    Operation operation;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {"write", Operation::kWrite,
       {"create T", "write T [failed]", "close T", "remove T"}},
      {"flush", Operation::kFlushToDisk,
       {"create T", "write T", "flush T to disk [failed]", "close T", "remove T"}},
      {"close", Operation::kClose,
       {"create T", "write T", "flush T to disk", "close T [failed]", "remove T"}},
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

}  // namespace
}  // namespace aplpatch
