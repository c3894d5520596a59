#include "rules/header/crew_mode.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

// A state as after the script's header: crew mode on and the patch description already written.
testing::Start crewModeOn() {
  RewriteState state;
  state.crewless = true;
  return testing::pastHeader(state);
}

TEST(UpcaseLine, OnlyAsciiLettersBecomeCapitals) {
  EXPECT_EQ(rewriteLinesOnly("print \"gr\xFC\xDF\x65 aus m\xFCnchen!\"\n").text,
            "PRINT \"GR\xFC\xDF" "E AUS M\xFCNCHEN!\"\n");
}

TEST(UpcaseLine, NocrewDescriptionSwitchesCrewModeAndIsBlanked) {
  auto run = rewriteLinesOnly("description \"nocrew\"\nA\n");
  EXPECT_EQ(run.text, "\nA\n");
  EXPECT_TRUE(run.state.crewless);
  EXPECT_FALSE(rewriteLinesOnly("NOCREW\n").state.crewless);
  // The shortest line that holds both words shares their N.
  EXPECT_TRUE(rewriteLinesOnly("descriptionocrew\n").state.crewless);
  EXPECT_FALSE(rewriteLinesOnly("DESCRIPTIONOCRE\n").state.crewless);
}

TEST(CrewBriefingFilter, RemovesBriefingCallsAndTheWaitRightAfterThem) {
  auto run = rewriteLinesOnly(
      "DESCRIPTION \"NOCREW\"\n"
      "A\n"
      " play\"c:\\fs\\wav\\copilots\\voice01\\gndbrief\"\n"
      "wait 5\n"
      " PLAY\"C:\\FS\\WAV\\COPILOTS\\VOICE01\\TOBRIEF\"\n"
      " WAIT 3\n"
      " WAIT 4\n"
      " PLAY\"C:\\FS\\WAV\\CABIN\\FC_GONG\"\n"
      " GOSUB NEXT\n"
      " WAIT 6\n");
  EXPECT_EQ(run.text,
            "\n"
            "A\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            "\n"
            // The wait test is made on the line as read: a lower-case wait stays.
            "WAIT 5\n"
            "\n"
            "\n"
            // Only the line right after a removed call loses its wait.
            " WAIT 4\n"
            "\n"
            " GOSUB NEXT\n"
            " WAIT 6\n");
  // A removed PLAY line never reaches the sound root.
  EXPECT_EQ(run.state.soundRoot, "");
  EXPECT_FALSE(run.state.skipNextWait);
}

TEST(CrewBriefingFilter, EveryBriefingAndCabinSoundNameMarksACall) {
  for (const char* name :
       {"PREGNDBR", "ARRVBRIE", "DESBRIEF", "AIRBRIEF", "BUMBRIEF", "ARIVBRIE", "PRETAXBR",
        "FC_APPLAUSE", "FC_CRY", "FC_GONG", "TOBRIEF", "LBRIEF", "GNDBRIEF"}) {
    std::string call = std::string(" PLAY\"C:\\FS\\WAV\\X\\") + name + "\"\n";
    EXPECT_EQ(rewriteLinesOnly(call + " WAIT 2\n", crewModeOn()).text, "\n\n") << name;
  }
}

TEST(CrewBriefingFilter, LeavesOtherLinesAndScriptsWithCrewAlone) {
  struct Case {
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      // A briefing name outside a PLAY line.
      {" GOSUB GNDBRIEF\n WAIT 2\n", " GOSUB GNDBRIEF\n WAIT 2\n"},
      // A PLAY line of another sound.
      {" PLAY\"C:\\FS\\WAV\\X\\FC_ROGER\"\n WAIT 2\n",
       " PLAY\"C:\\FS\\WAV\\X\\FC_ROGER\"\n WAIT 2\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(c.input, crewModeOn()).text, c.output) << c.input;
  }
  // With the crew on board nothing is removed.
  EXPECT_EQ(rewriteLinesOnly(" PLAY\"C:\\WAV\\GNDBRIEF\"\n WAIT 2\nBRIEFINGCHECK:\n").text,
            " PLAY\"C:\\WAV\\GNDBRIEF\"\n WAIT 2\nDESCRIPTION \"PATCHED BY JM\"\nBRIEFINGCHECK:\n");
}

TEST(CrewBriefingFilter, BriefingCheckReturnsAtOnce) {
  EXPECT_EQ(rewriteLinesOnly("BRIEFINGCHECK:\n GOSUB BRIEF\nRETURN\n", crewModeOn()).text,
            "BRIEFINGCHECK:\nRETURN\n GOSUB BRIEF\nRETURN\n");
  // The label is matched as read, before upper-casing.
  EXPECT_EQ(rewriteLinesOnly("briefingcheck:\n", crewModeOn()).text, "BRIEFINGCHECK:\n");
}

}  // namespace
}  // namespace aplpatch
