#include "structure/structure_compare.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "structure/scanning_streams.h"

namespace aplpatch {
namespace {

using Lines = std::vector<std::string>;

Lines faults(std::string_view generated, std::string_view rewritten) {
  return rewriteFaults(scanScript(generated), scanScript(rewritten));
}

constexpr std::string_view kGenerated =
    "MAIN:\n"
    " GOSUB PLAYCALL\n"
    " GOTO TERMINAL\n"
    "PLAYCALL:\n"
    " IF VVOICE = 1 THEN\n"
    "  WAIT 1\n"
    " ENDIF\n"
    " RETURN\n";

std::string lostText(std::string_view generated, std::string_view rewritten) {
  // Byte by byte, so that no line comes in one piece.
  ScriptStructure scanned;
  LineFeeder feeder(scanned);
  for (char byte : generated) feeder.feed(&byte, 1);
  feeder.finish();
  std::string text;
  for (const LostLabel& label : lostLabels(scanScript(rewritten), scanned)) {
    text += label.name + "@" + std::to_string(label.line) + " ";
  }
  return text;
}

TEST(LostLabels, TakeOnlyANameAndAColonWithBlanksAroundAsALabel) {
  const struct {
    const char* text;
    const char* labels;
  } cases[] = {
      {"ENDE:\n", "ENDE@1 "},
      {"  ende:  \r\n\tMissed_App2:\t\n", "ENDE@1 MISSED_APP2@2 "},
      {"a:\nA:\n", "A@1 "},  // once, where it is first defined
      {"X = 1:\nGOSUB ENDE:\nENDE: WAIT\n:\nENDE;\n", ""},
      {"HOLD-FIX:\nHOLD FIX:\n\xC4X:\n", ""},
      {"LAST:", "LAST@1 "},  // a last line without LF
      {"\n\nTHIRD:\r\n", "THIRD@3 "},
      {"IF:\nENDIF:\nONKEY:\n", "IF@1 ENDIF@2 ONKEY@3 "},  // structure words as names
      {"B:\nA:\nB:\n", "B@1 A@2 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(lostText(c.text, ""), c.labels);
  }
  // Past the longest line that is read, nothing is a label.
  EXPECT_EQ(lostText("LONG:" + std::string(ScriptStructure::kMaxLineBytes, ' ') + "\n", ""), "");
}

TEST(LostLabels, AreThoseTheRewriteDoesNotDefineStandingAlone) {
  constexpr std::string_view generated = "START:\nHOLD_1:\nENDE:\nMISSED:\n";
  // Another letter case and blanks keep a label; text after the colon or a jump to it do not.
  EXPECT_EQ(lostText(generated, "  start:\r\nHold_1:  \r\nENDE: WAIT 1\r\nGOTO MISSED\r\n"), "ENDE@3 MISSED@4 ");
  EXPECT_EQ(lostText(generated, "ENDE:\nMISSED:\nHOLD_1:\nSTART:\nEXTRA:\n"), "");
}

TEST(RewriteFaults, ReportsEachNewProblemOnceInLineOrder) {
  // More lines, a paired block, and a new subroutine that is called add nothing.
  EXPECT_EQ(faults(kGenerated, std::string(kGenerated) + "IF X THEN\nENDIF\nGOSUB NEW\nNEW:\nRETURN\n"),
            Lines{});
  const std::string rewritten =
      "MAIN:\n"
      " GOSUB PLAYCALL\n"
      " GOSUB PLAYID\n"     // new: no such label
      " GOTO TERMINAL\n"    // the generated script lacks it already
      "PLAYCALL:\n"
      " IF VVOICE = 1 THEN\n"
      "  WAIT 1\n"
      " RETURN\n"           // its ENDIF is gone
      "PLAYCALL:\n"         // defined twice now
      " GOSUB PLAYID\n"
      "ONEXP_CLEAR GONE\n";
  EXPECT_EQ(faults(kGenerated, rewritten),
            (Lines{"line 3: GOSUB PLAYID, a label that the script does not define (named twice, at lines 3 and 10)",
                   "line 6: IF without ENDIF below label PLAYCALL",
                   "line 9: label PLAYCALL is defined twice (lines 5 and 9), in the generated script once",
                   "line 11: ONEXP_CLEAR GONE, a label that the script does not define"}));
}

// Host code that is gone, and a subroutine that now starts inside a block, are named where a pilot
// can find them: the lost label by its line in the generated script, the block by its opener, its
// closer and the subroutine.
TEST(RewriteFaults, ReportsALostLabelAndABlockAcrossASubroutinesEntry) {
  EXPECT_EQ(faults(kGenerated,
                      "MAIN:\n"
                      " GOSUB PLAYCALL\n"
                      " IF VDESCREQ = 1 THEN\n"
                      "PLAYCALL:\n"
                      " IF VVOICE = 1 THEN\n"
                      "  WAIT 1\n"
                      " ENDIF\n"
                      " ENDIF\n"
                      " RETURN\n"),
            (Lines{"line 3: IF below label MAIN whose ENDIF at line 8 comes after the entry of subroutine PLAYCALL at "
                   "line 4"}));
  EXPECT_EQ(faults(std::string(kGenerated).append("TERMINAL:\nMAIN:\n"), "PLAYCALL:\n RETURN\n"),
            (Lines{"label MAIN of the generated script is gone (defined there at lines 1 and 10)",
                   "label TERMINAL of the generated script is gone (defined there at line 9)"}));
}

TEST(RewriteFaults, CountsProblemsTheGeneratedScriptHasAlready) {
  // A label defined twice stays so; a stray ENDIF stays one.
  const std::string generated = "A:\nENDIF\nA:\nWHILE X\n";
  EXPECT_EQ(faults(generated, "A:\nWAIT 1\nENDIF\nA:\nWHILE X\n"), Lines{});
  EXPECT_EQ(faults(generated, "A:\nENDIF\nA:\nENDIF\nA:\nWHILE X\n"),
            (Lines{"line 2: ENDIF without an open IF below label A (twice, at lines 2 and 4; in the generated "
                   "script once)",
                   "line 3: label A is defined 3 times (lines 1, 3 and 5), in the generated script twice"}));
}

TEST(RewriteFaults, PlacesAProblemBelowAnInsertedLabelBelowTheLabelBeforeIt) {
  const std::string generated = "START:\nIF X THEN\n";
  // The open IF now stands below a label that the rewrite inserted: the same problem.
  EXPECT_EQ(faults(generated, "START:\nINSERTED:\nMORE:\nIF X THEN\n"), Lines{});
  EXPECT_EQ(faults(generated, "START:\nIF X THEN\nINSERTED:\nIF Y THEN\n"),
            (Lines{"line 2: IF without ENDIF below label START (twice, at lines 2 and 4; in the generated script "
                   "once)"}));
  EXPECT_EQ(faults("IF X THEN\n", "IF X THEN\nNEW:\nWHILE Y\n"),
            (Lines{"line 3: WHILE without ENDWHILE before the first label"}));
}

TEST(RewriteFaults, PlacesAProblemBelowALabelTheRewriteDroppedBelowTheLabelBeforeIt) {
  const std::string gone = "label DROPPED of the generated script is gone (defined there at line 2)";
  EXPECT_EQ(faults("START:\nDROPPED:\nENDIF\n", "START:\nENDIF\n"), Lines{gone});
  EXPECT_EQ(faults("START:\nDROPPED:\nENDIF\n", "START:\nENDIF\nENDIF\n"),
            (Lines{"line 2: ENDIF without an open IF below label START (twice, at lines 2 and 3; in the "
                   "generated script once)",
                   gone}));
  // A second definition of a label, which the rewrite dropped, moves no problem either.
  EXPECT_EQ(faults("A:\nB:\nA:\nENDIF\n", "A:\nB:\nENDIF\n"), Lines{});
}

}  // namespace
}  // namespace aplpatch
