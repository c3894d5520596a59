#include "rules/radio/radio_calls.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::pastHeader;
using testing::rewriteLinesOnly;


TEST(TrafficCall, PlaysTrafficAndARadioCallAndDropsTheRestOfTheBranch) {
  const char* kCall = " PLAY\"C:\\WAV\\CONTROLLERS\\VOICE3\\FC_N016\"\n";
  const char* kFollowUp =
      " PLAY\"C:\\WAV\\CONTROLLERS\\VOICE3\\FC_N016\"\nENDIF\nGOSUB PLAYTRAFFIC\n"
      "WAIT 15\nGOSUB PLAYCALL\n";
  struct Case {
    std::string input;
    std::string output;
  };
  const Case cases[] = {
      {std::string(kCall) + " WAIT 3\n GOSUB X\nELSE\n PLAY\"B\"\n",
       std::string(kFollowUp) + "ELSE\n PLAY\"B\"\n"},
      // The line that stays is written as read.
      {std::string(kCall) + " WAIT 3\nELSEIF vVoice = 4 THEN\n",
       std::string(kFollowUp) + "ELSEIF vVoice = 4 THEN\n"},
      {std::string(kCall) + " WAIT 3\n", kFollowUp},
      // The third voice's call only, with its closing quote.
      {" PLAY\"C:\\WAV\\CONTROLLERS\\VOICE1\\FC_N016\"\n WAIT 3\n",
       " PLAY\"C:\\WAV\\CONTROLLERS\\VOICE1\\FC_N016\"\n WAIT 3\n"},
      {" PLAY\"C:\\WAV\\CONTROLLERS\\VOICE3\\FC_N0161\"\n WAIT 3\n",
       " PLAY\"C:\\WAV\\CONTROLLERS\\VOICE3\\FC_N0161\"\n WAIT 3\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(rewriteLinesOnly(c.input, pastHeader()).text, c.output) << c.input;
}

TEST(PlayCallGate, EachVoiceBranchPlaysWithAChanceUntilTheReturn) {
  auto run = rewriteLinesOnly(
      "PLAYCALL:\n"
      "IF VVOICE = 1 THEN\n"
      " play\"c:\\wav\\voice1\\call\"\n"
      " WAIT 1\n"
      "ELSEIF VVOICE = 2 THEN\n"
      " PLAY\"C:\\WAV\\VOICE2\\CALL\"\n"
      "ENDIF\n"
      "RETURN\n"
      "IF VVOICE = 3 THEN\n"
      " PLAY\"C:\\WAV\\VOICE3\\CALL\"\n"
      " GOSUB PLAYCALL\n"
      "IF VVOICE = 4 THEN\n",
      pastHeader());
  EXPECT_EQ(run.text,
            "PLAYCALL:\n"
            "IF VVOICE = 1 THEN\n"
            "VRANDOM2 = RANDOM * 100\n"
            "IF VRANDOM2 > 40 THEN\n"
            " play\"c:\\wav\\voice1\\call\"\n"
            "ENDIF\n"
            " WAIT 1\n"
            "ELSEIF VVOICE = 2 THEN\n"
            "VRANDOM2 = RANDOM * 100\n"
            "IF VRANDOM2 > 40 THEN\n"
            " PLAY\"C:\\WAV\\VOICE2\\CALL\"\n"
            "ENDIF\n"
            "ENDIF\n"
            "RETURN\n"
            "IF VVOICE = 3 THEN\n"
            " PLAY\"C:\\WAV\\VOICE3\\CALL\"\n"
            " GOSUB PLAYCALL\n"
            "IF VVOICE = 4 THEN\n");
  EXPECT_FALSE(run.state.inPlayCall);
}

TEST(PlayCallGate, StopsWritingWhereTheInputEnds) {
  auto run = rewriteLinesOnly("PLAYCALL:\nIF VVOICE = 1 THEN\n", pastHeader());
  EXPECT_EQ(run.text,
            "PLAYCALL:\nIF VVOICE = 1 THEN\nVRANDOM2 = RANDOM * 100\nIF VRANDOM2 > 40 THEN\n");
}

}  // namespace
}  // namespace aplpatch
