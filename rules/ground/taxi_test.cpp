#include "rules/ground/taxi.h"

#include <gtest/gtest.h>

#include "engine/test_support.h"

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

TEST(TaxiSupervision, EnglishLoopWithoutLanguageOrSoundRoot) {
  EXPECT_EQ(rewriteLinesOnly("CHECK_IF_MOOVING:\n RETURN\n").text,
            "CHECK_IF_MOOVING:\n"
            "VTIMER2 = ELAPSED_TIME\n"
            "VMISSCNT = 0\n"
            "VLAT = PLANE_LAT\n"
            "VLON = PLANE_LON\n"
            "WHILE (GROUND_DISTANCE(VLAT,VLON) < 0.01) OR (VPUSHBACK = 1)\n"
            "  IF ELAPSED_TIME > VTIMER2 + 120 - (60 * VMISSCNT) THEN\n"
            "    IF VMISSCNT = 0 THEN\n"
            "      VMISSCNT = 1\n"
            "      GOSUB TAXI_VIA\n"
            "      VTIMER2 = ELAPSED_TIME\n"
            "    ELSE\n"
            "     GOSUB PLAYCALL\n"
            "     Cancel\"\n"
            "     PRINT\"TAXI CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n"
            "     WAIT MESSAGE\n"
            "     GOTO ENDE\n"
            "    ENDIF\n"
            "  ENDIF\n"
            "ENDWHILE\n"
            " RETURN\n");
}

TEST(TaxiSupervision, GermanLoopPlaysTheCancelCallFromTheSoundRoot) {
  RewriteState state;
  state.soundRoot = "PLAY\"C:\\FS\\WAV\\";
  state.messageLanguage = 2;
  EXPECT_EQ(rewriteLinesOnly("CHECK_IF_MOOVING:\n", state).text,
            "CHECK_IF_MOOVING:\n"
            "VTIMER2 = ELAPSED_TIME\n"
            "VMISSCNT = 0\n"
            "VLAT = PLANE_LAT\n"
            "VLON = PLANE_LON\n"
            "WHILE (GROUND_DISTANCE(VLAT,VLON) < 0.01) OR (VPUSHBACK = 1)\n"
            "  IF ELAPSED_TIME > VTIMER2 + 120 - (60 * VMISSCNT) THEN\n"
            "    IF VMISSCNT = 0 THEN\n"
            "      VMISSCNT = 1\n"
            "      GOSUB TAXI_VIA\n"
            "      VTIMER2 = ELAPSED_TIME\n"
            "    ELSE\n"
            "     GOSUB PLAYCALL\n"
            "     PLAY\"C:\\FS\\WAV\\Cancel\"\n"
            "     PRINT\"TAXIFREIGABE ZUR\xDC" "CKGENOMMEN! DAS ADVENTURE WIRD BEENDEN...\"\n"
            "     WAIT MESSAGE\n"
            "     GOTO ENDE\n"
            "    ENDIF\n"
            "  ENDIF\n"
            "ENDWHILE\n");
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
