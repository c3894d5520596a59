#include "rules/descent/velocity_subroutine.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::appendedText;
using testing::rewriteLinesOnly;

TEST(VelocitySubroutine, IsAppendedEvenWithoutAnyAltitudeCheck) {
  auto run = rewriteLinesOnly("GOSUB RADIAL_CHECK\n");
  EXPECT_EQ(appendedText(appendVelocitySubroutine, run.state),
            "COMPUTE_VELOCITY_Y:\n"
            " TIME1 = ELAPSED_TIME\n"
            " ALT1  = PLANE_ALT\n"
            " WAIT 1\n"
            " TIME2 = ELAPSED_TIME\n"
            " ALT2  = PLANE_ALT\n"
            " VEL_Y = (ALT2-ALT1)/((TIME2-TIME1)/60)\n"
            "RETURN\n");
}

}  // namespace
}  // namespace aplpatch
