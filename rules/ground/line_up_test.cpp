#include "rules/ground/line_up.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(LineUpHold, HoldStandsBetweenTheLabelAndTheSecondLabel) {
  RewriteState state;
  state.soundRoot = "PLAY\"C:\\FS\\WAV\\";
  auto run = rewriteLinesOnly("LINE_UP:\n", state);
  EXPECT_EQ(run.text,
            "LINE_UP:\n"
            "VTIMER2 = ELAPSED_TIME\n"
            "VTIMER2 = ( (VTIMER2 / 10) - INT( VTIMER2 / 10) ) * 10\n"
            "WHILE VTIMER2 > 0\n"
            " VTIMER2 = VTIMER2 - 1\n"
            " VRANDOM = RANDOM\n"
            "ENDWHILE\n"
            "VRANDOM = RANDOM * 100\n"
            "IF VRANDOM > 30 THEN\n"
            " GOSUB PLAYCALL\n"
            " PLAY\"C:\\FS\\WAV\\StandBy\"\n"
            " PLAY\"C:\\FS\\WAV\\COPILOTS\\VOICE01\\FC_ROGER\"\n"
            " VRANDOM = RANDOM * 20 + 10\n"
            " WAIT 10\n"
            " VTIMER2 = ELAPSED_TIME + VRANDOM\n"
            " VLAT = PLANE_LAT\n"
            " VLON = PLANE_LON\n"
            " WHILE ELAPSED_TIME < VTIMER2\n"
            "   GOSUB CHECK_TAKEOFF_CLR\n"
            "   IF GROUND_DISTANCE(VLAT,VLON) > 0.01 THEN\n"
            "    GOSUB PLAYCALL\n"
            "    PLAY\"C:\\FS\\WAV\\Cancel\"\n"
            "PRINT\"YOU HAVE NOT GET YOUR LINE-UP CLEARANCE! THE ADVANTURE WILL BE ENDED...\"\n"
            "WAIT MESSAGE\n"
            "GOTO ENDE\n"
            "   ENDIF\n"
            " ENDWHILE\n"
            "ENDIF\n"
            "LINE_UP2:\n");
  EXPECT_EQ(rewriteLinesOnly("LINE_UP2:\n").text, "LINE_UP2:\n");
}

TEST(LineUpKey, BindingCallsTheSecondLabel) {
  struct Case {
    const char* input;
    const char* expected;
  } cases[] = {
      {"ONKEY KV(76) GOSUB LINE_UP ' LINE UP NOW\n", "ONKEY KV(76) GOSUB LINE_UP2\n"},
      {"ONKEY KV(76) GOSUB LINE_UP2\n", "ONKEY KV(76) GOSUB LINE_UP2\n"},
      {"onkey kv(76) gosub line_up\n", "ONKEY KV(76) GOSUB LINE_UP2\n"},
      {"ONKEY KV(76) GOSUB LINE_UP", "ONKEY KV(76) GOSUB LINE_UP2\n"},
      {"GOSUB LINE_UP\n", "GOSUB LINE_UP\n"},
      {"ONKEY KV(77) GOSUB TAKEOFF\n", "ONKEY KV(77) GOSUB TAKEOFF\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.expected) << c.input;
}

TEST(LineUpKey, PieceOfALongLineGrowsByTwoBytesAndIsWrittenWhole) {
  // The first 254 bytes end in the call; the rest of the line is the next piece.
  const std::string binding = std::string(254 - 26, ' ') + "ONKEY KV(76) GOSUB LINE_UP";
  ASSERT_EQ(binding.size(), 254u);
  EXPECT_EQ(rewriteLinesOnly(binding + " ' REST\n").text, binding + "2\n ' REST\n");
}

}  // namespace
}  // namespace aplpatch
