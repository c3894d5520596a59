#include "rules/approach/centerx_subroutine.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

// A centre block, the marker that arms the replay, and a wait-for-VOR loop closed by its jump.
std::string scriptWithBlock(const std::string& block) {
  return "ONKEY KV(68) GOSUB DEPARTURE\nCENTER_CALL:\n" + block +
         "RETURN\nGOWAITVORX:\nWAIT_VOR1:\n ONKEY KV(68) GOSUB DEPARTURE\n wait 1\nGOTO WAIT_VOR1\n";
}

RewriteState withAltitude(const char* valt) {
  RewriteState state;
  state.capturedValt = valt;
  return state;
}

TEST(CenterSubroutine, TakesThePlaceOfTheClosingJump) {
  EXPECT_EQ(rewriteLinesOnly(scriptWithBlock(" GOSUB PLAYCALL\n"), withAltitude(" 8000 ")).text,
            "ONKEY KV(68) GOSUB DEPARTURE\n"
            "CENTER_CALL:\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            " GOSUB PLAYCALL\n"
            "RETURN\n"
            "GOWAITVORX:\n"
            "WAIT_VOR1:\n"
            " ONKEY KV(68) GOSUB DEPARTURE\n"
            "WAIT_VOR1_MISSED:\n"
            "GOSUB AUTOPILOT\n"
            " wait 1\n"
            " WAIT 1\n"
            "GOSUB CENTERX\n"
            " ONKEY KV(68) GOSUB CENTERX\n"
            "GOTO WAIT_VOR1_MISSED\n"
            "CENTERX:\n"
            " VALT =  8000 \n"
            "WAIT 10\n"
            "GOSUB AUTOPILOT\n"
            "RETURN\n");
}

TEST(CenterSubroutine, ReplaysTheBlockWithCourseAndHeadingCallsAdjusted) {
  const std::string ctl = R"( PLAY"C:\W\CONTROLLERS\V1\)";
  const std::string cop = R"( PLAY"C:\W\COPILOTS\V01\)";
  struct Case { std::string block; std::string replay; };
  const Case cases[] = {
      {" a\n GOSUB PLAYCALL\n b\n", " a\nWAIT 10\n b\n"},
      // The controller's course call plays the course and skips to its FC_N058 line.
      {ctl + "FC_N057\"\n x\n y\n" + ctl + "FC_N058\"\n z\n",
       ctl + "FC_N057\"\nVCOURSE = VHDG\nGOSUB PLAY_COURSE\n" + ctl + "FC_N058\"\n z\n"},
      {ctl + "FC_N057\" 'FC_N058\n z\n",
       ctl + "FC_N057\" 'FC_N058\nVCOURSE = VHDG\nGOSUB PLAY_COURSE\n" + ctl + "FC_N057\" 'FC_N058\n z\n"},
      // Without its FC_N058 line the rest of the block is lost.
      {" a\n" + ctl + "FC_N057\"\n x\n", " a\n" + ctl + "FC_N057\"\nVCOURSE = VHDG\nGOSUB PLAY_COURSE\n"},
      // The co-pilot's heading call gives way to the next flight-level call.
      {cop + "FC_HDG\"\n x\n" + cop + "FLTLVL\"\n z\n", cop + "FLTLVL\"\n z\n"},
      {cop + "FC_HDG\" 'FLTLVL\n z\n", cop + "FC_HDG\" 'FLTLVL\n z\n"},
      {cop + "FC_HDG\"\n x\n", ""},
      // Only calls from those folders count, and the block is tested as read.
      {" PLAY\"FC_N057\"\n" + cop + "fc_hdg\"\n", " PLAY\"FC_N057\"\n" + cop + "fc_hdg\"\n"},
  };
  const std::string head = "CENTERX:\n VALT = 9\n";
  const std::string tail = "GOSUB AUTOPILOT\nRETURN\n";
  for (const Case& c : cases) {
    const std::string text = rewriteLinesOnly(scriptWithBlock(c.block), withAltitude("9")).text;
    const auto start = text.find(head);
    ASSERT_NE(start, std::string::npos) << c.block;
    EXPECT_EQ(text.substr(start), head + c.replay + tail) << c.block;
  }
}

TEST(CenterSubroutine, WithoutDepartureKeyOrAltitudeTheirPlacesStayEmpty) {
  const std::string text =
      rewriteLinesOnly("CENTER_CALL:\n A\nRETURN\nGOWAITVORX:\nGOTO WAIT_VOR1\n").text;
  EXPECT_NE(text.find("GOSUB CENTERX\nGOSUB CENTERX\nGOTO WAIT_VOR1_MISSED\nCENTERX:\n VALT = \n A\n"),
            std::string::npos);
}

TEST(CenterSubroutine, IsNotWrittenWhenTheBlockKeptNothing) {
  auto run = rewriteLinesOnly(scriptWithBlock(" GOSUB NO_RETURN\n"));
  EXPECT_EQ(run.text.find("CENTERX"), std::string::npos);
  EXPECT_TRUE(run.text.ends_with(" WAIT 1\nGOTO WAIT_VOR1\n"));
}

TEST(CenterSubroutine, FollowsTheMissedEntryWhenTheJumpEndsTheKeyBindings) {
  EXPECT_EQ(rewriteLinesOnly("CENTER_CALL:\n A\nRETURN\nGOWAITVORX:\nWAIT_VOR1:\n"
                             " ONKEY KV(68) GOSUB DEPARTURE\nGOTO WAIT_VOR1\n")
                .text,
            "CENTER_CALL:\n A\nDESCRIPTION \"PATCHED BY JM\"\nRETURN\nGOWAITVORX:\nWAIT_VOR1:\n"
            " ONKEY KV(68) GOSUB DEPARTURE\n"
            "WAIT_VOR1_MISSED:\nGOSUB AUTOPILOT\nGOTO WAIT_VOR1\n"
            "GOSUB CENTERX\n ONKEY KV(68) GOSUB CENTERX\nGOTO WAIT_VOR1_MISSED\n"
            "CENTERX:\n VALT = \n A\nGOSUB AUTOPILOT\nRETURN\n");
}

TEST(CenterSubroutine, IsWrittenAgainEachTimeTheMarkerRearmsIt) {
  auto run = rewriteLinesOnly(
      "CENTER_CALL:\n A\nRETURN\nGOWAITVORX:\nGOTO WAIT_VOR1\nGOWAITVORX:\nGOTO WAIT_VOR2\nGOTO WAIT_VOR3\n");
  const std::string second = "GOTO WAIT_VOR2_MISSED\nCENTERX:\n VALT = \n A\nGOSUB AUTOPILOT\nRETURN\n";
  EXPECT_NE(run.text.find("GOTO WAIT_VOR1_MISSED\nCENTERX:\n"), std::string::npos);
  EXPECT_TRUE(run.text.ends_with(second + "GOTO WAIT_VOR3\n"));
}

TEST(CenterSubroutine, JumpNamesTheSameLabelAsTheMissedEntry) {
  struct Case { const char* label; const char* jump; const char* entry; const char* missedJump; };
  const Case cases[] = {
      {"WAIT_VOR\xDC" "BER:\n", "GOTO WAIT_VOR\xDC" "BER\n", "WAIT_VOR\xDC" "BER_MISSED:\n",
       "GOTO WAIT_VOR\xDC" "BER_MISSED\n"},
      {"WAIT_VOR1:\n", "GOTO WAIT_VOR1 ' back\n", "WAIT_VOR1_MISSED:\n", "GOTO WAIT_VOR1_MISSED\n"},
      {"WAIT_VOR1:\n", "GOTO WAIT_VOR1\tX\n", "WAIT_VOR1_MISSED:\n", "GOTO WAIT_VOR1_MISSED\n"},
      {"WAIT_VOR1:\n", "         GOTO WAIT_VOR1\n", "WAIT_VOR1_MISSED:\n", "         GOTO WAIT_VOR1_MISSED\n"},
      {"WAIT_VOR1:\n", "IF X THEN GOTO WAIT_VOR1\n", "WAIT_VOR1_MISSED:\n", "IF X THEN GOTO WAIT_VOR1_MISSED\n"},
  };
  for (const Case& c : cases) {
    const std::string text = rewriteLinesOnly(std::string("CENTER_CALL:\n A\nRETURN\nGOWAITVORX:\n") +
                                              c.label + " ONKEY KV(1) GOSUB X\n B\n" + c.jump)
                                 .text;
    EXPECT_NE(text.find(c.entry), std::string::npos) << c.jump;
    EXPECT_NE(text.find(std::string("GOSUB CENTERX\n") + c.missedJump + "CENTERX:\n"), std::string::npos)
        << c.jump;
  }
}

}  // namespace
}  // namespace aplpatch
