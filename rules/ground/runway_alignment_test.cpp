#include "rules/ground/runway_alignment.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

RewriteState english() {
  RewriteState state;
  state.soundRoot = "PLAY\"C:\\FS\\WAV\\";
  state.messageLanguage = MessageLanguage::english;
  return state;
}

TEST(RunwayAlignment, FirstHeadingLoopAfterTheLabelIsSupervisedOnce) {
  auto run = rewriteLinesOnly(
      "CHECK_RWY_ALIGN:\n"
      " GOSUB TAKEOFF\n"
      " WHILE NOT INRANGE360(PLANE_HEADING,VHDG-5,VHDG+5)\n"
      "  WAIT 1\n"
      " ENDWHILE\n"
      " WHILE (NOT INRANGE360(PLANE_HEADING,VHDG-5,VHDG+5))\n",
      english());
  EXPECT_EQ(run.text,
            "CHECK_RWY_ALIGN:\n"
            " GOSUB TAKEOFF\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            " VTIMER2 = ELAPSED_TIME\n"
            " VMISSCNT = 0\n"
            " WHILE NOT INRANGE360(PLANE_HEADING,VHDG-5,VHDG+5)\n"
            "  IF ELAPSED_TIME > VTIMER2 + 60 THEN\n"
            "    IF VMISSCNT = 0 THEN\n"
            "      VMISSCNT = 1\n"
            "      GOSUB LINE_UP2\n"
            "      VTIMER2 = ELAPSED_TIME\n"
            "    ELSE\n"
            "     GOSUB PLAYCALL\n"
            "     PLAY\"C:\\FS\\WAV\\Cancel\"\n"
            "     PRINT\"RUNWAY CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n"
            "     WAIT MESSAGE\n"
            "     GOTO ENDE\n"
            "    ENDIF\n"
            "  ENDIF\n"
            "  WAIT 1\n"
            " ENDWHILE\n"
            " WHILE (NOT INRANGE360(PLANE_HEADING,VHDG-5,VHDG+5))\n");
  EXPECT_FALSE(run.state.inRunwayAlign);
}

TEST(RunwayAlignment, BracketedLoopIsSupervisedToo) {
  const std::string text =
      rewriteLinesOnly("CHECK_RWY_ALIGN:\n WHILE (NOT INRANGE360(PLANE_HEADING,1,2))\n", english()).text;
  EXPECT_TRUE(text.starts_with("CHECK_RWY_ALIGN:\n"
                              " VTIMER2 = ELAPSED_TIME\n"
                              " VMISSCNT = 0\n"
                              " WHILE (NOT INRANGE360(PLANE_HEADING,1,2))\n"
                              "  IF ELAPSED_TIME > VTIMER2 + 60 THEN\n"))
      << text;
  EXPECT_TRUE(text.ends_with("    ENDIF\n  ENDIF\n")) << text;
}

TEST(RunwayAlignment, WatchIsNotStartedByItsOwnLabelLineAndEndsAtTakeoff) {
  struct Case {
    const char* input;
    const char* expected;
    bool watching;
  } cases[] = {
      // The label line holds a heading loop itself: the watch it starts begins with the next line.
      {"CHECK_RWY_ALIGN: WHILE NOT INRANGE360(X)\n", "CHECK_RWY_ALIGN: WHILE NOT INRANGE360(X)\n", true},
      {"CHECK_RWY_ALIGN:\nTAKEOFF:\n WHILE NOT INRANGE360(X)\n",
       "CHECK_RWY_ALIGN:\nTAKEOFF:\nDESCRIPTION \"PATCHED BY JM\"\n WHILE NOT INRANGE360(X)\n", false},
      {" WHILE NOT INRANGE360(X)\n", " WHILE NOT INRANGE360(X)\n", false},
  };
  for (const Case& c : cases) {
    auto run = rewriteLinesOnly(c.input, english());
    EXPECT_EQ(run.text, c.expected) << c.input;
    EXPECT_EQ(run.state.inRunwayAlign, c.watching) << c.input;
  }
}

}  // namespace
}  // namespace aplpatch
