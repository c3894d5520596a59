#include "rules/approach/ground_distance.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::pastHeader;
using testing::rewriteLinesOnly;


TEST(GroundDistanceLoop, TimerBeforeModulesFirstAndSpeedCheckInTheTimedBranch) {
  auto run = rewriteLinesOnly("VTIMER = ELAPSED_TIME\n"
                              "while vgrounddist > 3\n"
                              "  VTIMER = ELAPSED_TIME + 20\n"
                              "  IF ELAPSED_TIME > VTIMER + 30 THEN\n"
                              "    VTIMER = ELAPSED_TIME\n"
                              "  ENDIF\n"
                              "  GOSUB SPEED_CHECK\n"
                              "ENDWHILE\n"
                              "VTIMER = ELAPSED_TIME + 5\n"
                              "IF ELAPSED_TIME > VTIMER + 5 THEN\n",
                              pastHeader());
  EXPECT_EQ(run.text,
            "VTIMER = ELAPSED_TIME\n"
            "VTIMER = ELAPSED_TIME\n"
            "WHILE VGROUNDDIST > 3\n"
            "GOSUB MODULES\n"
            "\n"
            "  IF ELAPSED_TIME > VTIMER + 30 THEN\n"
            " GOSUB SPEED_CHECK\n"
            " VTIMER = ELAPSED_TIME\n"
            "\n"
            "  ENDIF\n"
            "\n"
            "ENDWHILE\n"
            "VTIMER = ELAPSED_TIME + 5\n"
            "IF ELAPSED_TIME > VTIMER + 5 THEN\n");
  EXPECT_EQ(run.state.groundDistanceLoop, GroundDistanceLoop::outside);
}

TEST(GroundDistanceLoop, ANestedLoopsEndEndsTheRework) {
  auto run = rewriteLinesOnly("WHILE VGROUNDDIST > 3\n"
                              "  WHILE X\n"
                              "  ENDWHILE\n"
                              "  VTIMER = ELAPSED_TIME\n",
                              pastHeader());
  EXPECT_EQ(run.text,
            "VTIMER = ELAPSED_TIME\nWHILE VGROUNDDIST > 3\nGOSUB MODULES\n"
            "  WHILE X\n  ENDWHILE\n  VTIMER = ELAPSED_TIME\n");
}

TEST(GroundDistanceLoop, OpensOnlyWhenTheDistanceTestEndsTheLine) {
  constexpr const char* kUntouched[] = {"WHILE VGROUNDDIST > 30\n", "WHILE VGROUNDDIST > 3 \n",
                                        "WHILE VGROUNDDIST > 3 AND X\n"};
  for (const char* line : kUntouched) {
    auto run = rewriteLinesOnly(line);
    EXPECT_EQ(run.text, line);
    EXPECT_EQ(run.state.radialCheckWatch, RadialCheckWatch::notArmed) << line;
  }
}

TEST(SpeedCheckCall, IsBlankedAnywhere) {
  EXPECT_EQ(rewriteLinesOnly("   gosub speed_check ' every lap\n").text, "\n");
  EXPECT_EQ(rewriteLinesOnly("IF X THEN GOSUB SPEED_CHECK\n").text, "\n");
}

}  // namespace
}  // namespace aplpatch
