#include "rules/descent/descent_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

TEST(TargetAltitude, IsTheTextOfTheFirstAltitudeTestThatYieldsOne) {
  const std::string nines(80, '9');
  struct Case { std::string input; std::string valt; };
  const Case cases[] = {
      {"IF VALT = 5000 THEN\nIF VALT = 7000 THEN\n", " 5000 "},
      {"if valt = 5000 then\n", " 5000 "},
      {"IF VALT = 5000\n", " 5000"},
      {"IF VALT =THEN\nIF VALT = 6000 THEN\n", " 6000 "},
      {"IF VALT = " + nines + " THEN\n", " " + nines + " "},
      {"IF VALT > 5000 THEN\n", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(c.input).state.capturedValt, c.valt) << c.input;
  }
}

TEST(AutopilotAltitude, IsGuardedAndFallsBackToTheTargetAltitudeOnceKnown) {
  EXPECT_EQ(rewriteLinesOnly("AUTOPILOT_ALTITUDE = 3000\nIF VALT = 5000 THEN\n autopilot_altitude = 4000\n").text,
            "IF VMAXALT = 500000 THEN\nAUTOPILOT_ALTITUDE = 3000\nENDIF\n"
            "IF VALT = 5000 THEN\n"
            "DESCRIPTION \"PATCHED BY JM\"\n"
            "IF VMAXALT = 500000 THEN\n AUTOPILOT_ALTITUDE = 4000\nELSE\n AUTOPILOT_ALTITUDE =  5000 \nENDIF\n");
}

TEST(TopOfDescent, BodyRunsOnceAndItsLinesAreKept) {
  auto run = rewriteLinesOnly(
      "SET_TOD_ALT:\n GOSUB PLAYCALL\n say x\n WAIT 15\n ONEXP_CLEAR SET_TOD_ALT\nRETURN\n");
  EXPECT_EQ(run.text,
            "SET_TOD_ALT:\nIF VDESCREQ = 1 THEN\n GOSUB PLAYCALL\nDESCRIPTION \"PATCHED BY JM\"\n"
            " SAY X\n WAIT 15\n ONEXP_CLEAR SET_TOD_ALT\n VDESCREQ = 2\n VMAXALT  = 1\nENDIF\nRETURN\n");
  EXPECT_EQ(run.state.todCount, 3);
  EXPECT_EQ(run.state.openBlock, OpenBlock::none);
  EXPECT_EQ(run.state.todLines,
            (std::vector<std::string>{" GOSUB PLAYCALL\n", " SAY X\n", " WAIT 15\n"}));
}

TEST(TopOfDescent, ASecondBlockStartsOverAndLongBlocksAreKeptWhole) {
  std::string second = "SET_TOD_ALT:\n";
  for (int i = 0; i < 30; ++i) second += " L" + std::to_string(i) + "\n";
  auto run = rewriteLinesOnly("SET_TOD_ALT:\n A\n B\n ONEXP_CLEAR SET_TOD_ALT\n" + second +
                              " ONEXP_CLEAR SET_TOD_ALT\n");
  EXPECT_EQ(run.state.todCount, 30);
  EXPECT_EQ(run.state.todLines.front(), " L0\n");
  EXPECT_EQ(run.state.todLines.back(), " L29\n");
}

TEST(Departure, MarksTheFlightAsDeparted) {
  EXPECT_EQ(rewriteLinesOnly("departure:\nGOSUB DEPARTURE\n").text,
            "DEPARTURE:\n VDESCREQ = 1\nGOSUB DEPARTURE\n");
}

TEST(ExtraKey, CallsTheDescentRequestAndDropsWhatFollowedTheCall) {
  auto run = rewriteLinesOnly("ONKEY KV(88) GOSUB CHECK_XKEY ' extra\n gosub check_xkey\n");
  EXPECT_EQ(run.text, "ONKEY KV(88) GOSUB REQ_DESCENT\n GOSUB REQ_DESCENT\n");
  EXPECT_EQ(run.console, "changing x-key function...\nchanging x-key function...\n");
}

}  // namespace
}  // namespace aplpatch
