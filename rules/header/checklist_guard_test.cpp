#include "rules/header/checklist_guard.h"

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::rewriteLinesOnly;

// Past the header: the patch description and the new declarations are already written.
testing::Start pastDeclarations() {
  RewriteState state;
  state.declarations = Declarations::done;
  return testing::pastHeader(state);
}

TEST(ChecklistGuard, GuardsTheChecklistLabelOnceTheScriptDeclaresTheCounter) {
  auto run =
      rewriteLinesOnly("declare vChecklists\nCHECK_LISTS:\n GOSUB LIST1\n", pastDeclarations());
  EXPECT_EQ(run.text,
            "DECLARE VCHECKLISTS\n"
            "CHECK_LISTS:\n"
            " IF VCHECKLISTS < VCHECKSDONE THEN\n"
            "   RETURN\n"
            " ENDIF\n"
            " VCHECKSDONE = VCHECKLISTS + 1\n"
            " GOSUB LIST1\n");
  EXPECT_EQ(run.state.hasChecklists, 1);
}

TEST(ChecklistGuard, NoGuardWithoutTheDeclaration) {
  auto run = rewriteLinesOnly("CHECK_LISTS:\n GOSUB LIST1\n", pastDeclarations());
  EXPECT_EQ(run.text, "CHECK_LISTS:\n GOSUB LIST1\n");
  EXPECT_EQ(run.state.hasChecklists, 0);
}

TEST(ChecklistGuard, FifthChecklistSetsBothCountersOnlyAtTheLineStart) {
  struct Case {
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {"VCHECKLISTS = 5\n", "VLISTCHECK  = 4\nVCHECKSDONE = 5\nVCHECKLISTS = 5\n"},
      {"VCHECKLISTS = 50\n", "VLISTCHECK  = 4\nVCHECKSDONE = 5\nVCHECKLISTS = 50\n"},
      {" VCHECKLISTS = 5\n", " VCHECKLISTS = 5\n"},
      {"VCHECKLISTS = 4\n", "VCHECKLISTS = 4\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rewriteLinesOnly(c.input, pastDeclarations()).text, c.output) << c.input;
  }
}

}  // namespace
}  // namespace aplpatch
