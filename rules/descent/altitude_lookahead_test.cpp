#include "rules/descent/altitude_lookahead.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(AltitudeLookahead, GuardsAnAssignmentUnlessTheNextLineJumpsToGowaitvorx) {
  EXPECT_EQ(rewriteLinesOnly(" VALT = 5000\nGOTO GOWAITVORX\n").text,
            " VALT = 5000\nGOTO GOWAITVORX\n");
  EXPECT_EQ(rewriteLinesOnly(" VALT = 5000\nWAIT 5\n").text,
            "IF VMAXALT = 500000 THEN\n VALT = 5000\nENDIF\nWAIT 5\n");
}

TEST(AltitudeLookahead, EachOfTwoAssignmentsIsDecidedByItsOwnNextLine) {
  EXPECT_EQ(rewriteLinesOnly("VALT = 1\nVALT = 2\nGOTO GOWAITVORX\n").text,
            "IF VMAXALT = 500000 THEN\nVALT = 1\nENDIF\nVALT = 2\n"
            "DESCRIPTION \"PATCHED BY JM\"\nGOTO GOWAITVORX\n");
}

TEST(AltitudeLookahead, TestsOfValtAreLeftAlone) {
  EXPECT_EQ(rewriteLinesOnly("IF VALT = 3000 THEN\nX\n").text, "IF VALT = 3000 THEN\nX\n");
}

TEST(AltitudeLookahead, LookedAheadLineIsAPassOfItsOwnAndOnlyOne) {
  auto run = rewriteLinesOnly("VALT = 1\nA\nB\n");
  EXPECT_EQ(run.passes, 3);
  EXPECT_EQ(run.text,
            "IF VMAXALT = 500000 THEN\nVALT = 1\nENDIF\nA\nDESCRIPTION \"PATCHED BY JM\"\nB\n");
}

TEST(AltitudeLookahead, LastLineIsGuardedAndEndsTheLoop) {
  auto run = rewriteLinesOnly("A\nVALT = 7");
  EXPECT_EQ(run.text, "A\nIF VMAXALT = 500000 THEN\nVALT = 7\nENDIF\n");
  EXPECT_EQ(run.passes, 2);
}

TEST(AltitudeLookahead, OutputKeepsCrLfLineEnds) {
  EXPECT_EQ(rewriteLinesOnly("VALT = 1\r\nX\r\n").bytes,
            "IF VMAXALT = 500000 THEN\r\nVALT = 1\r\nENDIF\r\nX\r\n");
}

}  // namespace
}  // namespace aplpatch
