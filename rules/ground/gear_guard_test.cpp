#include "rules/ground/gear_guard.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(GearGuard, GearUpStepRunsOnlyWithRetractableGear) {
  EXPECT_EQ(rewriteLinesOnly("ATOGEARUP:\n GEAR_UP\nATOFLAPSALLUP:\n FLAPS_UP\n").text,
            "IF (RETRACTABLE_GEAR) THEN\n"
            "ATOGEARUP:\n"
            " GEAR_UP\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            "ENDIF\n"
            "ATOFLAPSALLUP:\n"
            " FLAPS_UP\n");
}

}  // namespace
}  // namespace aplpatch
