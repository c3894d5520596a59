#include "rules/descent/missed_approach_subroutine.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

constexpr std::string_view kSubroutine =
    "MISSED_APP_KEY:\n"
    " VMISSEDAPP = 1\n"
    " RETURN\n";

TEST(MissedApproachKeySubroutine, EndsEveryOutputEvenWithoutAKey) {
  EXPECT_EQ(testing::appendedText(appendMissedApproachKeySubroutine, RewriteState{}), kSubroutine);
  for (const char* script : {"", "A\nB\nC\n"}) {
    const std::string text = testing::rewriteWhole(script).text;
    EXPECT_TRUE(text.ends_with(kSubroutine)) << script << text;
  }
}

}  // namespace
}  // namespace aplpatch
