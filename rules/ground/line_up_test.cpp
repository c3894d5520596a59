#include "rules/ground/line_up.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

// The complete German hold is part of the departure-and-landing script test.
TEST(LineUpHold, EnglishMessageAndTheSecondLabel) {
  RewriteState state;
  state.soundRoot = "PLAY\"C:\\FS\\WAV\\";
  const std::string text = rewriteLinesOnly("LINE_UP:\n", state).text;
  EXPECT_TRUE(text.starts_with("LINE_UP:\nVTIMER2 = ELAPSED_TIME\n")) << text;
  EXPECT_NE(text.find("    PLAY\"C:\\FS\\WAV\\Cancel\"\n"
                      "PRINT\"YOU HAVE NOT GET YOUR LINE-UP CLEARANCE! THE ADVANTURE WILL BE ENDED...\"\n"
                      "WAIT MESSAGE\n"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with(" ENDWHILE\nENDIF\nLINE_UP2:\n")) << text;
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
