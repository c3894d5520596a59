#include "rules/approach/holding_returns.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

struct ReturnCase {
  const char* what;
  const char* input;
  const char* output;
  const char* console;
};

// Calls of the sections are used instead of their labels, so only the missing RETURN shows.
constexpr ReturnCase kReturnCases[] = {
    {"a call of HOLDFIX_C after the holding start gets the RETURN, a second one does not",
     "CALL FC_N027\nGOSUB HOLDFIX_C\nGOSUB HOLDFIX_C\n",
     "CALL FC_N027\nRETURN\nGOSUB HOLDFIX_C\nGOSUB HOLDFIX_C\n",
     "SUBPROC for holding procedure start found\ninsert missing RETURN\n"},
    {"the holding turn waits for HOLDFIX_BC and ignores HOLDFIX_C",
     "CALL FC_N023\nGOSUB HOLDFIX_C\nGOSUB HOLDFIX_BC\n",
     "CALL FC_N023\nGOSUB HOLDFIX_C\nRETURN\nGOSUB HOLDFIX_BC\n",
     "SUBPROC for holding procedure turn found\ninsert missing RETURN\n"},
    {"both controller calls on one line leave only the holding turn open",
     "CALL FC_N027 FC_N023\nGOSUB HOLDFIX_C\nGOSUB HOLDFIX_BC\n",
     "CALL FC_N027 FC_N023\nGOSUB HOLDFIX_C\nRETURN\nGOSUB HOLDFIX_BC\n",
     "SUBPROC for holding procedure start found\nSUBPROC for holding procedure turn found\n"
     "insert missing RETURN\n"},
    {"the opening line is not tested for the section it names",
     "CALL FC_N027 HOLDFIX_C\nGOSUB HOLDFIX_C\n",
     "CALL FC_N027 HOLDFIX_C\nRETURN\nGOSUB HOLDFIX_C\n",
     "SUBPROC for holding procedure start found\ninsert missing RETURN\n"},
    {"a holding turn opened later closes the holding start",
     "CALL FC_N027\nCALL FC_N023\nGOSUB HOLDFIX_C\nGOSUB HOLDFIX_BC\n",
     "CALL FC_N027\nCALL FC_N023\nGOSUB HOLDFIX_C\nRETURN\nGOSUB HOLDFIX_BC\n",
     "SUBPROC for holding procedure start found\nSUBPROC for holding procedure turn found\n"
     "insert missing RETURN\n"},
    {"the lines are tested in capitals",
     "call fc_n027\ngosub holdfix_c\n",
     "CALL FC_N027\nRETURN\nGOSUB HOLDFIX_C\n",
     "SUBPROC for holding procedure start found\ninsert missing RETURN\n"},
};

TEST(HoldingReturns, GoAheadOfTheFirstLineNamingTheNextSection) {
  for (const ReturnCase& c : kReturnCases) {
    auto run = rewriteLinesOnly(c.input, testing::pastHeader());
    EXPECT_EQ(run.text, c.output) << c.what;
    EXPECT_EQ(run.console, c.console) << c.what;
  }
}

TEST(HoldingReturns, OpeningAHoldingBlockClosesEveryOtherBlock) {
  RewriteState state;
  state.openBlock = OpenBlock::topOfDescent;
  auto run = rewriteLinesOnly("CALL FC_N027\n", state);
  EXPECT_EQ(run.state.openBlock, OpenBlock::holdingStart);
  // The capture that was open keeps nothing.
  EXPECT_EQ(run.state.todCount, 0);
}

}  // namespace
}  // namespace aplpatch
