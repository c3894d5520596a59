#include "rules/approach/radial_heading.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(RadialToHeading, OnlyASelfAssignmentAtTheEndOfTheLine) {
  struct Case {
    const char* input;
    const char* output;
  };
  constexpr Case cases[] = {
      {"VRAD = VRAD\n", "VHDG = VRAD\n"},
      {"   vrad = vrad\n", "VHDG = VRAD\n"},
      {"VRAD = VRAD + 180\n", "VRAD = VRAD + 180\n"},
      {"VRAD = VRAD \n", "VRAD = VRAD \n"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.output) << c.input;
}

}  // namespace
}  // namespace aplpatch
