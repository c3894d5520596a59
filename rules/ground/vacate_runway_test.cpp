#include "rules/ground/vacate_runway.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

testing::Start withRootAndLanguage(MessageLanguage language) {
  RewriteState state;
  state.soundRoot = " PLAY\"C:\\FS\\WAV\\";
  state.messageLanguage = language;
  return testing::pastHeader(state);
}

const std::string kBlockHead =
    "VMISSCNT = 0\n"
    "VTIMER = ELAPSED_TIME\n"
    "TEST1:\n"
    " VTIMER2 = -1\n"
    " VLAT = PLANE_LAT\n"
    " VLON = PLANE_LON\n"
    "TEST2:\n"
    " IF (VMISSCNT = 0) AND (NOT INRANGE360(PLANE_HEADING,VHDG-30,VHDG+30)) THEN\n"
    "   VMISSCNT = 1\n"
    " ENDIF\n"
    " IF (ELAPSED_TIME > VTIMER + 30) AND (VMISSCNT = 0) THEN\n"
    "   GOSUB PLAYCALL\n"
    "   PLAY\"C:\\FS\\WAV\\Leave\"\n";

const std::string kBlockTail =
    "  VTIMER = ELAPSED_TIME\n"
    " ENDIF\n"
    " GOSUB CHECK_TAKEOFF_CLR\n"
    " IF GROUND_DISTANCE(VLAT,VLON) < 0.001 THEN\n"
    "   IF VMISSCNT = 1 THEN\n"
    "      IF VTIMER2 = -1 THEN\n"
    "         VTIMER2 = ELAPSED_TIME\n"
    "      ELSEIF ELAPSED_TIME > VTIMER2 + 3 THEN\n"
    "         GOTO TEST3\n"
    "      ENDIF\n"
    "      GOTO TEST2\n"
    "   ENDIF\n"
    " ENDIF\n"
    " GOTO TEST1\n"
    "TEST3:\n";

const std::string kEnglish = "     PRINT\"LEAVE THE RUNWAY !\"\n     WAIT MESSAGE\n";
const std::string kGerman =
    "     PRINT\"VERLASSEN SIE SCHNELLSTM\xD6"
    "GLICH DIE LANDEBAHN !\"\n     WAIT MESSAGE\n";

TEST(VacateRunway, ReplacesTheFinalStopWaitUpToTheFinalListInTheScriptsLanguage) {
  const char* kScript =
      "wait_final_stop:\n"
      " WHILE VELOCITY > 1\n"
      " ENDWHILE\n"
      "RETURN\n"
      "finallist: ; FINALLIST: as read\n"
      "A\n";
  struct Case {
    MessageLanguage language;
    std::string message;
  };
  const Case cases[] = {
      {MessageLanguage::none, ""}, {MessageLanguage::english, kEnglish}, {MessageLanguage::german, kGerman}};
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(kScript, withRootAndLanguage(c.language)).text,
              "WAIT_FINAL_STOP:\n" + kBlockHead + c.message + kBlockTail +
                  "finallist: ; FINALLIST: as read\nA\n")
        << static_cast<int>(c.language);
  }
}

TEST(VacateRunway, StopsWritingWhereTheInputEndsBeforeTheFinalList) {
  EXPECT_EQ(rewriteLinesOnly("WAIT_FINAL_STOP:\n WAIT 1\n", withRootAndLanguage(MessageLanguage::english)).text,
            "WAIT_FINAL_STOP:\n" + kBlockHead + kEnglish + kBlockTail);
}

TEST(VacateRunway, TheSeventhChecklistGetsTheBlockAheadOfItInTheLatestLanguage) {
  auto run = rewriteLinesOnly(
      " PRINT\"TRANSPONDER CODE 4711\"\n"
      "VCHECKLISTS = 7\n"
      " PRINT\"SQUAWK 4711\"\n"
      "VCHECKLISTS = 70\n"
      " VCHECKLISTS = 7\n",
      withRootAndLanguage(MessageLanguage::none));
  EXPECT_EQ(run.text, " PRINT\"TRANSPONDER CODE 4711\"\n" + kBlockHead + kGerman + kBlockTail +
                          "VCHECKLISTS = 7\n PRINT\"SQUAWK 4711\"\n" + kBlockHead + kEnglish +
                          kBlockTail + "VCHECKLISTS = 70\n VCHECKLISTS = 7\n");
}

}  // namespace
}  // namespace aplpatch
