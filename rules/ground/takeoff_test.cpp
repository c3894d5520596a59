#include "rules/ground/takeoff.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

// The supervision written for a take-off wait loop in a script whose language is not known yet.
constexpr const char* kSupervisionWithoutLanguage =
    " VMISSCNT = 0\n"
    "WHILE ON_GROUND\n"
    " IF (ELAPSED_TIME > VTIMER + 45) AND (VELOCITY_INDICATED < 30) AND (VMISSCNT = 0) THEN\n"
    "   GOSUB TAKEOFF\n"
    "   VMISSCNT = 1\n"
    "   VTIMER = ELAPSED_TIME\n"
    " ELSEIF (ELAPSED_TIME > VTIMER + 30) AND (VELOCITY_INDICATED < 30) AND (VMISSCNT = 1) THEN\n"
    "   GOSUB PLAYCALL\n"
    "   PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE1\\FC_N010\"\n"
    "   VMISSCNT = 2\n"
    "   VTIMER = ELAPSED_TIME\n"
    " ELSEIF (ELAPSED_TIME > VTIMER + 30) AND (VELOCITY_INDICATED < 25) AND (VMISSCNT = 2) THEN\n"
    "   GOSUB PLAYCALL\n"
    "   PLAY\"C:\\FS\\WAV\\Cancel\"\n"
    "PRINT\"TAKEOFF CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n"
    "WAIT MESSAGE\n"
    "GOTO ENDE\n"
    " ENDIF\n";

RewriteState withSoundRoot(MessageLanguage language) {
  RewriteState state;
  state.soundRoot = "PLAY\"C:\\FS\\WAV\\";
  state.messageLanguage = language;
  return state;
}

TEST(TakeoffSupervision, LoopBodyIsReplacedUpToItsEndwhile) {
  auto run = rewriteLinesOnly(
      "while on_ground\n"
      " IF ELAPSED_TIME > VTIMER + 45 THEN\n"
      "  GOSUB TAKEOFF\n"
      " ENDIF\n"
      "ENDWHILE\n"
      "A\n",
      withSoundRoot(MessageLanguage::none));
  EXPECT_EQ(run.text, std::string(kSupervisionWithoutLanguage) + "ENDWHILE\nA\n");
  // The dropped body lines are not passes.
  EXPECT_EQ(run.passes, 2);
}

TEST(TakeoffSupervision, SkipStopsAtANestedEndwhileWhichIsWrittenAsRead) {
  auto run = rewriteLinesOnly(
      "WHILE ON_GROUND\n"
      " WHILE VELOCITY < 10\n"
      "  WAIT 1\n"
      " ENDWHILE ' inner\n"
      " WAIT 2\n"
      "ENDWHILE\n",
      withSoundRoot(MessageLanguage::none));
  EXPECT_EQ(run.text, std::string(kSupervisionWithoutLanguage) +
                          " ENDWHILE ' inner\n"
                          " WAIT 2\n"
                          "DESCRIPTION \"PATCHED BY JM\"\n"
                          "ENDWHILE\n");
}

// German is part of the departure-and-landing script test.
TEST(TakeoffSupervision, EnglishWarningAndCancelLines) {
  const std::string english =
      rewriteLinesOnly("WHILE ON_GROUND\nENDWHILE\n", withSoundRoot(MessageLanguage::english)).text;
  EXPECT_NE(english.find("FC_N010\"\n"
                         "PRINT\"IF YOU HAVE ANY PROBLEM LEAVE THE RUNWAY!\"\n"
                         "   VMISSCNT = 2\n"),
            std::string::npos);
  EXPECT_NE(english.find("Cancel\"\n"
                         "PRINT\"TAKEOFF CLEARANCE CANCELED! THE ADVANTURE WILL BE ENDED...\"\n"),
            std::string::npos);
}

TEST(TakeoffSupervision, OnlyTheBareLoopLineIsSupervised) {
  struct Case {
    const char* input;
    const char* expected;
  } cases[] = {
      {" WHILE ON_GROUND\n IF X THEN\nENDWHILE\n",
       " WHILE ON_GROUND\n IF X THEN\nDESCRIPTION \"PATCHED BY JM\"\nENDWHILE\n"},
      {"WHILE ON_GROUND ' ROLL\n IF X THEN\nENDWHILE\n",
       "WHILE ON_GROUND ' ROLL\n IF X THEN\nDESCRIPTION \"PATCHED BY JM\"\nENDWHILE\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.expected) << c.input;
}

TEST(TakeoffSupervision, InputEndingInsideTheLoopEndsTheRun) {
  auto run = rewriteLinesOnly("WHILE ON_GROUND\n IF X THEN\n", withSoundRoot(MessageLanguage::none));
  EXPECT_EQ(run.text, kSupervisionWithoutLanguage);
}

}  // namespace
}  // namespace aplpatch
