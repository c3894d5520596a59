#include "rules/header/performance.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(Performance, DefaultSettingIsReplacedAsAWholeLine) {
  EXPECT_EQ(rewriteLinesOnly("performance default ; heavy\n").text, "PERFORMANCE FRAME 3\n");
  EXPECT_EQ(rewriteLinesOnly("PERFORMANCE FRAME 2\n").text, "PERFORMANCE FRAME 2\n");
}

}  // namespace
}  // namespace aplpatch
