#include "rules/approach/center_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

std::vector<std::string> keptCenterLines(const RewriteState& state) {
  return {state.centerLines.begin(), state.centerLines.begin() + state.centerCount};
}

TEST(CenterCapture, KeepsTheLinesAsReadUntilAnyLineHoldingReturn) {
  auto run = rewriteLinesOnly(
      "center_low:\n x\nCENTER_CALL:\n Play\"a\"\n  wait 2\n GOSUB NO_RETURN_HERE\n after\n");
  EXPECT_EQ(keptCenterLines(run.state), (std::vector<std::string>{" Play\"a\"\n", "  wait 2\n"}));
  EXPECT_EQ(run.state.centerCapture, CenterCapture::idle);
}

TEST(CenterCapture, EveryCenterLabelRestartsTheCaptureButACallDoesNot) {
  auto run = rewriteLinesOnly(
      "CENTER_A:\n one\n two\nRETURN\nCENTER_RESPOND:\n three\nGOSUB CENTER_B\n four\n");
  EXPECT_EQ(keptCenterLines(run.state),
            (std::vector<std::string>{" three\n", "GOSUB CENTER_B\n", " four\n"}));
  EXPECT_EQ(run.state.centerCapture, CenterCapture::capturing);
  EXPECT_EQ(run.state.centerCount, 3);
}

TEST(DepartureKey, KeepsTheBindingAheadOfTheCallFromTheLatestLine) {
  struct Case { const char* input; const char* kept; };
  const Case cases[] = {
      {"ONKEY KV(68) GOSUB DEPARTURE\n", "ONKEY KV(68) "},
      {"ONKEY KV(68) GOSUB DEPARTURE\n  ONKEY KV(70),GOSUB DEPARTURE_X\n", "  ONKEY KV(70),"},
      {"onkey KV(68) GOSUB DEPARTURE\nONKEY KV(68) gosub departure\n", ""},
      {"ONKEY KV(68) GOSUB OTHER\nGOSUB DEPARTURE\n", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(c.input).state.departureKeyLine, c.kept) << c.input;
  }
}

TEST(WaitVorMissedEntry, StandsAheadOfTheFirstLineAfterTheKeyBindings) {
  const std::string patched = "DESCRIPTION \"PATCHED BY JM\"\n";
  struct Case { std::string input; std::string output; };
  const Case cases[] = {
      // The entry's copy of the line keeps its case; the line itself is written again in capitals.
      {"WAIT_VOR2: loop\n ONKEY KV(1) GOSUB X\n ONKEY KV(2) GOSUB Y\n next line\n",
       "WAIT_VOR2: LOOP\n ONKEY KV(1) GOSUB X\n" + patched +
           " ONKEY KV(2) GOSUB Y\nWAIT_VOR2_MISSED:\nGOSUB AUTOPILOT\n next line\n NEXT LINE\n"},
      // Without a colon the label is the whole line.
      {"WAIT_VOR3 \n ONKEY KV(1) GOSUB X\n go\n",
       "WAIT_VOR3 \n ONKEY KV(1) GOSUB X\nWAIT_VOR3 _MISSED:\nGOSUB AUTOPILOT\n go\n" + patched + " GO\n"},
      // Lines ahead of the first binding do not count as the line after them.
      {"WAIT_VOR4:\n X1\n ONKEY KV(1) GOSUB X\n Y1\n",
       "WAIT_VOR4:\n X1\n" + patched + " ONKEY KV(1) GOSUB X\nWAIT_VOR4_MISSED:\nGOSUB AUTOPILOT\n Y1\n Y1\n"},
      // A new label inside the bindings takes over.
      {"WAIT_VOR5:\n ONKEY KV(1) GOSUB X\nWAIT_VOR6:\n ONKEY KV(2) GOSUB Y\n Z\n",
       "WAIT_VOR5:\n ONKEY KV(1) GOSUB X\n" + patched +
           "WAIT_VOR6:\n ONKEY KV(2) GOSUB Y\nWAIT_VOR6_MISSED:\nGOSUB AUTOPILOT\n Z\n Z\n"},
      // The label is tested as read.
      {"wait_vor7:\n ONKEY KV(1) GOSUB X\n Z\n", "WAIT_VOR7:\n ONKEY KV(1) GOSUB X\n" + patched + " Z\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(c.input).text, c.output) << c.input;
  }
}

}  // namespace
}  // namespace aplpatch
