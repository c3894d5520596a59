#include "rules/ground/pushback.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(PushbackBody, WaitsAreRemovedUntilTheReturnThatClosesTheBody) {
  auto run = rewriteLinesOnly(
      " WAIT 1\n"
      "EXECUTE_PUSHPACK:\n"
      " WAIT 10\n"
      " SLEW_PUSH\n"
      " wait 1\n"
      " RETURN\n"
      " WAIT 1\n");
  EXPECT_EQ(run.text,
            " WAIT 1\n"
            "EXECUTE_PUSHPACK:\n"
            " VPUSHBACK = 1\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            "\n"
            " SLEW_PUSH\n"
            "\n"
            " VLAT = PLANE_LAT\n"
            " VLON = PLANE_LON\n"
            " VPUSHBACK = 0\n"
            " RETURN\n"
            " WAIT 1\n");
  EXPECT_EQ(run.console, "SUBPROC for pushback found\nremoving WAIT\nremoving WAIT\n");
  EXPECT_EQ(run.state.openBlock, OpenBlock::none);
}

TEST(PushbackBody, ReturnLineHoldingAWaitIsKeptWhole) {
  auto run = rewriteLinesOnly("EXECUTE_PUSHPACK:\n WAIT 1 : RETURN\n");
  EXPECT_EQ(run.text,
            "EXECUTE_PUSHPACK:\n"
            " VPUSHBACK = 1\n"
            " VLAT = PLANE_LAT\n"
            " VLON = PLANE_LON\n"
            " VPUSHBACK = 0\n"
            " WAIT 1 : RETURN\n");
  EXPECT_EQ(run.console, "SUBPROC for pushback found\n");
}

TEST(PushbackBody, BodyWithoutReturnStaysOpenUntilAnotherBlockStarts) {
  auto run = rewriteLinesOnly("EXECUTE_PUSHPACK:\n WAIT 1\n WAIT 1\n");
  EXPECT_EQ(run.state.openBlock, OpenBlock::pushback);
  EXPECT_EQ(run.text, "EXECUTE_PUSHPACK:\n VPUSHBACK = 1\n\nDESCRIPTION \"PATCHED BY JM\"\n\n");
}

TEST(PushbackCall, TimerIsResetBeforeAndAfterTheCallWhichOpensNoBody) {
  EXPECT_EQ(rewriteLinesOnly("GOSUB EXECUTE_PUSHPACK\n").text,
            "VTIMER2 = ELAPSED_TIME\n"
            "VMISSCNT = 0\n"
            "GOSUB EXECUTE_PUSHPACK\n"
            "VTIMER2 = ELAPSED_TIME\n");
  auto run = rewriteLinesOnly(" gosub execute_pushpack\n WAIT 1\n");
  EXPECT_EQ(run.text,
            "VTIMER2 = ELAPSED_TIME\n"
            "VMISSCNT = 0\n"
            " GOSUB EXECUTE_PUSHPACK\n"
            "VTIMER2 = ELAPSED_TIME\n"
            " WAIT 1\n");
  EXPECT_EQ(run.state.openBlock, OpenBlock::none);
}

}  // namespace
}  // namespace aplpatch
