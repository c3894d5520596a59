#include "rules/approach/heading_fix.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::pastHeader;
using testing::rewriteLinesOnly;


constexpr const char* kInterceptTurn =
    "VLASTHDG = VLASTHDG - VOR_1_OBS\n"
    "IF VLASTHDG > 180 THEN\n"
    " VLASTHDG = VLASTHDG - 360\n"
    "ENDIF\n"
    "IF VLASTHDG < -180 THEN\n"
    " VLASTHDG = VLASTHDG + 360\n"
    "ENDIF\n"
    "IF VLASTHDG < 0 THEN\n"
    " VLASTHDG = VOR_1_OBS + 90\n"
    " IF VLASTHDG > 360 THEN\n"
    "  VLASTHDG = VLASTHDG - 360\n"
    " ENDIF\n"
    " AUTOPILOT_HEADING = VLASTHDG\n"
    "ELSE\n"
    " VLASTHDG = VOR_1_OBS - 90\n"
    " IF VLASTHDG < 0 THEN\n"
    "  VLASTHDG = VLASTHDG + 360\n"
    " ENDIF\n"
    " AUTOPILOT_HEADING = VLASTHDG\n"
    "ENDIF\n"
    "VLASTHDG = PLANE_HEADING\n"
    "WHILE INRANGE360(PLANE_HEADING,VLASTHDG-5,VLASTHDG+5)\n"
    "ENDWHILE\n";

struct FixCase {
  const char* what;
  std::string input;
  std::string output;
  HeadingFix stateAfter = HeadingFix::outside;
};

TEST(HeadingFix, RemembersTheHeadingAndRewritesTheTurnOntoTheCourse) {
  const FixCase cases[] = {
      {"FIX_HDG remembers the heading ahead of its first autopilot heading only",
       "FIX_HDG:\n AUTOPILOT_HEADING = VHDG\n AUTOPILOT_HEADING = 5\n",
       "FIX_HDG:\nVLASTHDG = PLANE_HEADING\n AUTOPILOT_HEADING = VHDG\n AUTOPILOT_HEADING = 5\n"},
      {"a holding-fix label ends FIX_HDG even on a line naming the autopilot heading",
       "FIX_HDG:\nHOLDFIX_X: AUTOPILOT_HEADING\nAUTOPILOT_HEADING = 1\n",
       "FIX_HDG:\nHOLDFIX_X: AUTOPILOT_HEADING\nAUTOPILOT_HEADING = 1\n"},
      {"the copilot branch is left alone outside FIX_BC",
       "FIX_HDG:\nIF VCOPILOT = 1 THEN\n", "FIX_HDG:\nIF VCOPILOT = 1 THEN\n",
       HeadingFix::inFixHdg},
      {"in FIX_BC the starting line is dropped even when it names the course; the course line is "
       "written as read and the next autopilot heading is set to the course",
       "FIX_BC:\n"
       "IF VCOPILOT = 1 THEN\n"
       "  GOSUB PLAYCALL\n"
       "ENDIF\n"
       "AUTOPILOT_HEADING = VOR_1_OBS + 45\n"
       "  vhdg = vrad\n"
       "  vcourse = VOR_1_OBS ' inbound\n"
       "  IF VDIF < -10 THEN\n"
       "  AUTOPILOT_HEADING = vcourse\n"
       "AUTOPILOT_HEADING = 7\n",
       std::string("FIX_BC:\n"
                   "IF (VCOPILOT = 1) AND (VFIRSTCALL = 0) THEN\n"
                   " VFIRSTCALL = 1\n"
                   "  GOSUB PLAYCALL\n"
                   "ENDIF\n"
                   "  vcourse = VOR_1_OBS ' inbound\n") +
           kInterceptTurn + "AUTOPILOT_HEADING = VOR_1_OBS\nAUTOPILOT_HEADING = 7\n"},
      {"a holding-fix label ends FIX_BC", "FIX_BC:\nHOLDFIX_X:\nAUTOPILOT_HEADING = 1\n",
       "FIX_BC:\nHOLDFIX_X:\nAUTOPILOT_HEADING = 1\n"},
      {"the input ends before the course line: nothing more is written",
       "FIX_BC:\nAUTOPILOT_HEADING = 1\nA\n", "FIX_BC:\n"},
      {"the input ends before the next autopilot heading: only the course line is written",
       "FIX_BC:\nAUTOPILOT_HEADING = 1\nX = VOR_1_OBS\nB\n", "FIX_BC:\nX = VOR_1_OBS\n"},
  };
  for (const FixCase& c : cases) {
    auto run = rewriteLinesOnly(c.input, pastHeader());
    EXPECT_EQ(run.text, c.output) << c.what;
    EXPECT_EQ(run.state.headingFix, c.stateAfter) << c.what;
  }
}

}  // namespace
}  // namespace aplpatch
