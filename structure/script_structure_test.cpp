#include "structure/script_structure.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "structure/structure_test_summary.h"

namespace aplpatch {
namespace {

// The structure of `script`, its lines separated by LF.
ScriptStructure scanLines(std::string_view script) {
  ScriptStructure structure;
  while (!script.empty()) {
    const std::size_t end = script.find('\n');
    structure.addLine(script.substr(0, end));
    script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
  }
  structure.finish();
  return structure;
}

struct BlockCase {
  const char* name;
  const char* script;
  const char* problems;
};

constexpr BlockCase kBlockCases[] = {
    {"paired and nested",
     "A:\nWHILE X\n IF Y THEN\n  IF Z THEN\n  ELSEIF W THEN\n  ELSE\n  ENDIF\n ENDIF\nENDWHILE\n", ""},
    {"single-line IF opens nothing", "A:\nIF X THEN GOTO A\nWHILE Y\nENDWHILE\n", ""},
    {"missing ENDIF inside a loop", "A:\nWHILE X\n IF Y THEN\nENDWHILE\nB:\nIF Z THEN\nENDIF\n", "ifNotClosed@3(A)"},
    {"missing ENDWHILE at the end", "A:\nWHILE X\nB:\nIF Y THEN\nENDIF\n", "whileNotClosed@2(A)"},
    {"missing ENDIF and ENDWHILE, in order of their lines", "IF X THEN\nA:\nWHILE Y\n",
     "ifNotClosed@1() whileNotClosed@3(A)"},
    {"stray ENDIF leaves the loop open to its ENDWHILE", "A:\nWHILE X\nENDIF\nENDWHILE\n", "endIfWithoutIf@3(A)"},
    {"stray ENDWHILE, twice below one label", "A:\nENDWHILE\nWHILE X\nENDWHILE\nENDWHILE\n",
     "endWhileWithoutWhile@2,5(A)"},
    {"ELSE in a loop inside an IF", "A:\nIF X THEN\nWHILE Y\nELSE\nENDWHILE\nENDIF\n", "elseWithoutIf@4(A)"},
    {"ELSEIF with nothing open", "ELSEIF X THEN\n", "elseWithoutIf@1()"},
    {"ELSE after ELSE", "A:\nIF X THEN\nELSE\nELSEIF Y THEN\nELSE\nENDIF\n", "elseAfterElse@4,5(A)"},
    {"blocks in any letter case", "a:\nwhile x\nif y then\nelse\nendif\nendwhile\n", ""},
};

TEST(ScriptStructure, PairsBlocksAndPlacesEachProblemBelowItsLabel) {
  for (const BlockCase& c : kBlockCases) {
    EXPECT_EQ(testing::problemSummary(scanLines(c.script)), c.problems) << c.name;
  }
}

TEST(ScriptStructure, CountsDefinitionsAndReferencesWhateverTheirCase) {
  const ScriptStructure structure = scanLines(
      "ONKEY KV(68) GOSUB DEPARTURE\n"
      "Departure:\n"
      " GOSUB PLAYCALL\n"
      " IF X THEN GOTO departure\n"
      "DEPARTURE: ' again\n"
      " ONEXP_CLEAR SET_TOD_ALT\n");
  EXPECT_EQ(testing::fullSummary(structure),
            "6 lines\n"
            "DEPARTURE defined 2 at 2,5, named 2 at 1/1 4/0\n"
            "PLAYCALL defined 0 at , named 1 at 3/1\n"
            "SET_TOD_ALT defined 0 at , named 1 at 6/2\n"
            "\n");
  // A label's predecessor is the label in force at its first definition.
  const ScriptStructure chain = scanLines("A:\nB:\nA:\nC:\n");
  EXPECT_EQ(chain.use(chain.names().find("a")).labelBefore, NameTable::kNone);
  EXPECT_EQ(chain.use(chain.names().find("C")).labelBefore, chain.names().find("A"));
}

TEST(ScriptStructure, StopsFollowingBlocksTooDeepAndResumesAfterThem) {
  std::string deep = "A:\n";
  for (std::size_t i = 0; i <= ScriptStructure::kMaxDepth; ++i) deep += "WHILE X\n";
  for (std::size_t i = 0; i <= ScriptStructure::kMaxDepth; ++i) deep += "ENDWHILE\n";
  std::string expected = "nestedTooDeep@";
  expected += std::to_string(ScriptStructure::kMaxDepth + 2);
  expected += "(A) endIfWithoutIf@";
  expected += std::to_string(2 * ScriptStructure::kMaxDepth + 4);
  expected += "(A)";
  EXPECT_EQ(testing::problemSummary(scanLines(deep + "ENDIF\n")), expected);
}

}  // namespace
}  // namespace aplpatch
