#include "rules/descent/missed_approach_guards.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(TowerWaitGuards, WaitsBetweenTowerWaitAndFinalForceTheMissedApproachWhenLow) {
  auto run = rewriteLinesOnly(
      "WHILE (COM_FREQ != 120.00)\n"
      "WAIT_APP_TOWER:\n"
      " WHILE (COM_FREQ != 120.00)\n"
      "  WAIT 1\n"
      " ENDWHILE\n"
      " WHILE VCONTACTED = 0\n"
      " ENDWHILE\n"
      "FINAL:\n"
      " WHILE (COM_FREQ != 120.00)\n"
      " WHILE VCONTACTED = 0\n");
  EXPECT_EQ(run.text,
            "WHILE (COM_FREQ != 120.00)\n"
            "WAIT_APP_TOWER:\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            " WHILE (COM_FREQ != 120.00)\n"
            " IF PLANE_ALT - GROUND_ALTITUDE < 750\n"
            "  GOTO MISSED_APP2\n"
            " ENDIF\n"
            "  WAIT 1\n"
            " ENDWHILE\n"
            " WHILE VCONTACTED = 0\n"
            " IF PLANE_ALT - GROUND_ALTITUDE < 750\n"
            "  GOTO MISSED_APP2\n"
            " ENDIF\n"
            " ENDWHILE\n"
            "FINAL:\n"
            " WHILE (COM_FREQ != 120.00)\n"
            " WHILE VCONTACTED = 0\n");
  EXPECT_FALSE(run.state.inAppTowerWait);
}

TEST(TowerWaitGuards, OnlyALineHoldingFinalWithItsColonEndsTheWindow) {
  EXPECT_EQ(rewriteLinesOnly("WAIT_APP_TOWER:\nFINALLIST:\nWHILE VCONTACTED = 0\n").text,
            "WAIT_APP_TOWER:\n"
            "FINALLIST:\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            "WHILE VCONTACTED = 0\n"
            " IF PLANE_ALT - GROUND_ALTITUDE < 750\n"
            "  GOTO MISSED_APP2\n"
            " ENDIF\n");
  // The final-stop label starts a block of its own; only the end of the output is ours to check.
  const std::string text =
      rewriteLinesOnly("WAIT_APP_TOWER:\nWAIT_FINAL_STOP:\nFINALLIST:\nWHILE (COM_FREQ != 120.00)\n").text;
  const std::string guarded =
      "WHILE (COM_FREQ != 120.00)\n"
      " IF PLANE_ALT - GROUND_ALTITUDE < 750\n"
      "  GOTO MISSED_APP2\n"
      " ENDIF\n";
  EXPECT_TRUE(text.ends_with(guarded)) << text;

  auto both = rewriteLinesOnly("WAIT_APP_TOWER: FINAL:\nWHILE VCONTACTED = 0\n");
  EXPECT_EQ(both.text, "WAIT_APP_TOWER: FINAL:\nWHILE VCONTACTED = 0\n");
  EXPECT_FALSE(both.state.inAppTowerWait);
}

}  // namespace
}  // namespace aplpatch
