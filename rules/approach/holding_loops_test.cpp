#include "rules/approach/holding_loops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::pastHeader;
using testing::rewriteLinesOnly;

// The output split into lines, without their newlines.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The line each generated loop writes for its entry call.
std::vector<std::string> entryCallsIn(const std::string& text) {
  std::vector<std::string> calls;
  std::vector<std::string> lines = linesOf(text);
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == "      IF VMISSCNT = 0 THEN") calls.push_back(lines[i + 1]);
  }
  return calls;
}


struct BoundsCase {
  std::string waitLine;
  const char* firstBound;   // loop line 2
  const char* secondBound;  // loop line 3
  const char* rangeTest;    // loop line 13
};

TEST(HoldingLoops, TakeTheBoundsAndTheRangeTestFromTheWaitLine) {
  const BoundsCase cases[] = {
      {"WHILE NOT INRANGE360(PLANE_HEADING,350,20)\n", " VTIMER  = 350", " VTIMER2 = 20",
       "   IF (VMISSCNT < 2) AND INRANGE360(PLANE_HEADING,350,20)"},
      {"WHILE NOT INRANGE360(PLANE_HEADING, VRAD-10 , VRAD+10 )\n", " VTIMER  =  VRAD-10 ",
       " VTIMER2 =  VRAD+10 ", "   IF (VMISSCNT < 2) AND INRANGE360(PLANE_HEADING, VRAD-10 , VRAD+10 )"},
      {"  while not inrange360(plane_heading,vhdg-5,vhdg+5) and x\n", " VTIMER  = VHDG-5",
       " VTIMER2 = VHDG+5", "   IF (VMISSCNT < 2) AND INRANGE360(PLANE_HEADING,VHDG-5,VHDG+5) AND X"},
      {"WHILE NOT INRANGE360(PLANE_HEADING,VHDG\n", " VTIMER  = VHDG", " VTIMER2 = ",
       "   IF (VMISSCNT < 2) AND INRANGE360(PLANE_HEADING,VHDG"},
      {"WHILE NOT INRANGE360(PLANE_HEADING,10,VHDG+20\n", " VTIMER  = 10", " VTIMER2 = VHDG+20",
       "   IF (VMISSCNT < 2) AND INRANGE360(PLANE_HEADING,10,VHDG+20"},
  };
  for (const BoundsCase& c : cases) {
    auto lines = linesOf(rewriteLinesOnly("HOLDFIX_C:\n" + c.waitLine + "GOTO HOLDFIX_BC\n",
                                          pastHeader()).text);
    ASSERT_EQ(lines.size(), 65u) << c.waitLine;
    EXPECT_EQ(lines[2], c.firstBound) << c.waitLine;
    EXPECT_EQ(lines[3], c.secondBound) << c.waitLine;
    EXPECT_EQ(lines[13], c.rangeTest) << c.waitLine;
    EXPECT_EQ(lines[64], "GOTO HOLDFIX_BC") << c.waitLine;
  }
}

TEST(HoldingLoops, WriteTheRangeTestOfAWaitLineAtTheLengthLimitWholeOnItsOwnLine) {
  // 254 characters before the newline: the reader hands the line over without it.
  std::string waitLine = "WHILE NOT INRANGE360(PLANE_HEADING,350,20) AND ";
  waitLine.append(254 - waitLine.size(), 'X');
  auto lines = linesOf(rewriteLinesOnly("HOLDFIX_C:\n" + waitLine + "\nGOTO HOLDFIX_BC\n",
                                        pastHeader()).text);
  ASSERT_EQ(lines.size(), 65u);
  EXPECT_EQ(lines[13], "   IF (VMISSCNT < 2) AND " + waitLine.substr(10));
  EXPECT_EQ(lines[14], "     VMISSCNT = 2");
}

TEST(HoldingLoops, UseTheLastEntryCallKeptInEitherSection) {
  const std::string waitC = "WHILE NOT INRANGE360(PLANE_HEADING,10,30)\n";
  const std::string waitBc = "WHILE NOT INRANGE360(PLANE_HEADING,190,210)\n";

  // Nothing kept yet: an empty call line, no empty line after it.
  std::string text = rewriteLinesOnly("HOLDFIX_C:\n" + waitC + "GOTO HOLDFIX_BC\n", pastHeader()).text;
  EXPECT_EQ(entryCallsIn(text), std::vector<std::string>{"       "});
  EXPECT_NE(text.find("       \n       VMISSCNT = 1\n"), std::string::npos);

  // The kept call, upper-cased, is followed by an empty line.
  text = rewriteLinesOnly("HOLDFIX_C:\ngosub fix_hdg 1\n" + waitC + "GOTO HOLDFIX_BC\n", pastHeader()).text;
  EXPECT_NE(text.find("      IF VMISSCNT = 0 THEN\n       GOSUB FIX_HDG 1\n\n       VMISSCNT = 1\n"),
            std::string::npos);

  // Calls outside an armed section are not kept; a section whose call comes after its wait line
  // uses the call kept in the other section.
  text = rewriteLinesOnly("GOSUB FIX_HDG 9\n"
                          "HOLDFIX_BC:\nGOSUB FIX_HDG 8\nGOSUB FIX_BC 2\n" + waitBc + "ENDIF\n"
                          "GOSUB FIX_BC 3\n"
                          "HOLDFIX_C:\n" + waitC + "GOSUB FIX_HDG 4\nGOTO HOLDFIX_BC\n",
                          pastHeader()).text;
  EXPECT_EQ(entryCallsIn(text),
            (std::vector<std::string>{"       GOSUB FIX_BC 2", "       GOSUB FIX_BC 2"}));
}

TEST(HoldingLoops, DropTheOldLoopUpToTheJumpWhichGoesOnAsRead) {
  auto run = rewriteLinesOnly("HOLDFIX_C:\n"
                              "WHILE NOT INRANGE360(PLANE_HEADING,10,30)\n"
                              "  IF VDIF < -10 THEN\n"
                              "    GOSUB SPEED_CHECK\n"
                              "  endif\n"
                              "ENDWHILE\n"
                              "  GOTO HOLDFIX_BC ' next leg\n"
                              "if vdif < -10 then\n",
                              pastHeader());
  auto lines = linesOf(run.text);
  ASSERT_EQ(lines.size(), 66u);
  EXPECT_EQ(lines[26],
            "     IF (VDIF < -10 OR VDIF > 10)  AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN");
  EXPECT_EQ(lines[63], " ENDWHILE");
  EXPECT_EQ(lines[64], "  GOTO HOLDFIX_BC ' next leg");
  EXPECT_EQ(lines[65],
            "IF (VDIF < -10 OR VDIF > 10) AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN");
  EXPECT_FALSE(run.state.inHoldfixC);
}

TEST(HoldingLoops, HoldfixBcLabelIsFollowedByTheFirstCallResetAndDroppingEndsAtTheFirstEndif) {
  auto run = rewriteLinesOnly("HOLDFIX_BC:\n"
                              "GOSUB FIX_BC\n"
                              "WHILE NOT INRANGE360(PLANE_HEADING,80,100)\n"
                              "  IF VDIF > 10 THEN\n"
                              "    GOSUB PLAY_COURSE\n"
                              "  ENDIF ' turn back\n"
                              "ENDWHILE\n"
                              "ENDIF\n",
                              pastHeader());
  auto lines = linesOf(run.text);
  ASSERT_EQ(lines.size(), 70u);
  EXPECT_EQ(lines[0], "HOLDFIX_BC:");
  EXPECT_EQ(lines[1], "VFIRSTCALL = 0");
  EXPECT_EQ(lines[2], "GOSUB FIX_BC");
  EXPECT_EQ(lines[3], " VMISSCNT = 0");
  EXPECT_EQ(lines[2 + 26],
            "     IF (VDIF < -10 OR VDIF > 10) AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN");
  EXPECT_EQ(lines[66], " ENDWHILE");
  EXPECT_EQ(lines[67], "  ENDIF ' turn back");
  EXPECT_EQ(lines[68], "ENDWHILE");
  EXPECT_EQ(lines[69], "ENDIF");
}

TEST(HoldingLoops, EndOfInputWhileDroppingEndsTheOutputAfterTheLoop) {
  auto run = rewriteLinesOnly("HOLDFIX_C:\nWHILE NOT INRANGE360(PLANE_HEADING,1,2)\n  WAIT 1\n",
                              pastHeader());
  auto lines = linesOf(run.text);
  ASSERT_EQ(lines.size(), 64u);
  EXPECT_EQ(lines[63], " ENDWHILE");
  EXPECT_FALSE(run.state.inHoldfixC);
}

TEST(HoldingLoops, OnlyALineStartingWithTheLabelArmsASection) {
  const char* input = "GOTO HOLDFIX_C\n  HOLDFIX_BC:\nWHILE NOT INRANGE360(PLANE_HEADING,1,2)\n";
  EXPECT_EQ(rewriteLinesOnly(input, pastHeader()).text, input);
}

struct DeviationCase {
  const char* input;
  const char* output;
};

TEST(WingsLevelDeviation, ReplacesTheWholeLineOfEveryDeviationTest) {
  constexpr DeviationCase cases[] = {
      {"   IF VDIF < -10 OR VDIF > 10 THEN\n",
       "IF (VDIF < -10 OR VDIF > 10) AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN\n"},
      {"if (vdif < -10) or (vdif > 10) then\n",
       "IF (VDIF < -10 OR VDIF > 10) AND (PLANE_BANK > -15) AND (PLANE_BANK < 15) THEN\n"},
      {"IF VDIF < -1 THEN\n", "IF VDIF < -1 THEN\n"},
  };
  for (const DeviationCase& c : cases) EXPECT_EQ(rewriteLinesOnly(c.input).text, c.output) << c.input;
}

}  // namespace
}  // namespace aplpatch
