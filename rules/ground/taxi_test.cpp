#include "rules/ground/taxi.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(TerminalJump, WholeLineBecomesTheJumpToTheFinalStopWait) {
  const char* lines[] = {
      "GOTO TERMINAL\n",
      "   IF ON_GROUND THEN GOTO TERMINAL ' PARK\n",
      "goto terminal\n",
      "GOTO TERMINAL",
  };
  for (const char* line : lines) {
    EXPECT_EQ(rewriteLinesOnly(line).text, "GOTO WAIT_FINALSTOP\n") << line;
  }
  EXPECT_EQ(rewriteLinesOnly("GOSUB TERMINAL\n").text, "GOSUB TERMINAL\n");
}

// The complete German loop is part of the departure-and-landing script test.
TEST(TaxiSupervision, EnglishCancelWithoutLanguageOrSoundRootAndTheBodyFollowsTheLoop) {
  const std::string text = rewriteLinesOnly("CHECK_IF_MOOVING:\n RETURN\n").text;
  EXPECT_NE(text.find("    ELSE\n"
                      "     GOSUB PLAYCALL\n"
                      "     Cancel\"\n"
                      "     PRINT\"TAXI CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n"
                      "     WAIT MESSAGE\n"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("    ENDIF\n  ENDIF\nENDWHILE\n RETURN\n")) << text;
}

TEST(PreTaxiSounds, EachSoundNameRestartsTheTaxiTimer) {
  struct Case {
    const char* input;
    const char* expected;
  } cases[] = {
      {"SOUND B4TAXI0\n", "VTIMER2 = ELAPSED_TIME\nVMISSCNT = 0\nSOUND B4TAXI0\n"},
      {"sound b4taxi3\n", "VTIMER2 = ELAPSED_TIME\nVMISSCNT = 0\nSOUND B4TAXI3\n"},
      {"B4TAXI0 B4TAXI3\n",
       "VTIMER2 = ELAPSED_TIME\nVMISSCNT = 0\nVTIMER2 = ELAPSED_TIME\nVMISSCNT = 0\nB4TAXI0 B4TAXI3\n"},
      {"B4TAXI1\n", "B4TAXI1\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.expected) << c.input;
}

}  // namespace
}  // namespace aplpatch
