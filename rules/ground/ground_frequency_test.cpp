#include "rules/ground/ground_frequency.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(GroundFrequencyWait, KeyWaitBecomesAContactWaitAndEarlierLoopsClearTheFlag) {
  auto run = rewriteLinesOnly(
      "ENDWHILE\n"
      "WAITGROUNDFREQ:\n"
      " WHILE (COM_FREQ != 121.90)\n"
      "  WAIT 1\n"
      " ENDWHILE\n"
      "  while key != kv(13)\n"
      " ENDWHILE\n");
  EXPECT_EQ(run.text,
            "ENDWHILE\n"
            "WAITGROUNDFREQ:\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            " WHILE (COM_FREQ != 121.90)\n"
            "  WAIT 1\n"
            "VCONTACTED = 0\n"
            " ENDWHILE\n"
            "WHILE (VCONTACTED = 0)\n"
            " ENDWHILE\n");
  EXPECT_EQ(run.state.openBlock, OpenBlock::none);
}

TEST(GroundFrequencyWait, LineHoldingBothEndwhileAndTheKeyWaitGetsBothChanges) {
  EXPECT_EQ(rewriteLinesOnly("WAITGROUNDFREQ:\nENDWHILE : WHILE KEY != KV(13)\n").text,
            "WAITGROUNDFREQ:\nVCONTACTED = 0\nWHILE (VCONTACTED = 0)\n");
}

// The pushback body and the ground-frequency wait are both open-block trackers: opening one closes
// the other.
TEST(GroundFrequencyWait, PushbackBodyAndGroundWaitCloseEachOther) {
  auto groundAfterPushback = rewriteLinesOnly("EXECUTE_PUSHPACK:\nWAITGROUNDFREQ:\n WAIT 1\n");
  EXPECT_EQ(groundAfterPushback.text,
            "EXECUTE_PUSHPACK:\n VPUSHBACK = 1\nWAITGROUNDFREQ:\n"
            "DESCRIPTION \"PATCHED BY JM\"\n WAIT 1\n");
  EXPECT_EQ(groundAfterPushback.state.openBlock, OpenBlock::groundFrequencyWait);

  auto pushbackAfterGround = rewriteLinesOnly("WAITGROUNDFREQ:\nEXECUTE_PUSHPACK:\n ENDWHILE\n");
  EXPECT_EQ(pushbackAfterGround.text,
            "WAITGROUNDFREQ:\nEXECUTE_PUSHPACK:\n VPUSHBACK = 1\n"
            "DESCRIPTION \"PATCHED BY JM\"\n ENDWHILE\n");
  EXPECT_EQ(pushbackAfterGround.state.openBlock, OpenBlock::pushback);
}

}  // namespace
}  // namespace aplpatch
