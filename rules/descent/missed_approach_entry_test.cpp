#include "rules/descent/missed_approach_entry.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(MissedApproachEntry, NormalAndForcedEntriesMeetAndMarkTheMissedApproach) {
  RewriteState state;
  state.soundRoot = "PLAY\"C:\\FS\\WAV\\";
  state.hasChecklists = true;
  EXPECT_EQ(rewriteLinesOnly(" PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE1\\FC_N043\"\n", state).text,
            " PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE1\\FC_N043\"\n"
            "VMAPPREASON = 0\n"
            "GOTO MISSED_APP3\n"
            "MISSED_APP2:\n"
            "  GOSUB PLAYCALL\n"
            "  PLAY\"C:\\FS\\WAV\\Missed\"\n"
            "  VMAPPREASON = 1\n"
            "MISSED_APP3:\n"
            "VLISTCHECK  = 5\n"
            "VCHECKLISTS = 5\n"
            "VCHECKSDONE = 5\n"
            " VFLYMISSEDAPP = 1\n"
            " VMAXALT = 500000\n");
}

TEST(MissedApproachEntry, WithoutChecklistsOrSoundRoot) {
  EXPECT_EQ(rewriteLinesOnly("FC_N043\n").text,
            "FC_N043\n"
            "VMAPPREASON = 0\n"
            "GOTO MISSED_APP3\n"
            "MISSED_APP2:\n"
            "  GOSUB PLAYCALL\n"
            "  Missed\"\n"
            "  VMAPPREASON = 1\n"
            "MISSED_APP3:\n"
            " VFLYMISSEDAPP = 1\n"
            " VMAXALT = 500000\n");
}

}  // namespace
}  // namespace aplpatch
