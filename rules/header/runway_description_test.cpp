#include "rules/header/runway_description.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(RunwayDescription, OnlyDescriptionLinesNamingARunwayAreBlanked) {
  struct Case {
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {"description \"rwy 27l\"\n", "\n"},
      {"DESCRIPTION \"FLIGHT EDDF-EDDM\"\n", "DESCRIPTION \"FLIGHT EDDF-EDDM\"\n"},
      {" GOSUB RWY_CHECK\n", " GOSUB RWY_CHECK\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.output) << c.input;
}

}  // namespace
}  // namespace aplpatch
