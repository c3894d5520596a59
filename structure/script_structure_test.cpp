#include "structure/script_structure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "testing/structure_test_summary.h"

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

// A block paired across the label of a subroutine (called anywhere, by GOSUB or a binding): the
// subroutine starts inside it. A loop's own label, a jump target, is no entry.
constexpr BlockCase kEntryCases[] = {
    {"an IF around a label called after it", "A:\nIF X THEN\nSUB:\nENDIF\nGOSUB SUB\n", "ifAcrossEntry@2(A)"},
    {"a WHILE around a label a key calls before it", "ONKEY KV(88) GOSUB SUB\nA:\nWHILE X\nSUB:\nENDWHILE\n",
     "whileAcrossEntry@3(A)"},
    {"a loop's label, jumped to", "A:\nWHILE X\nLOOP:\nIF Y THEN GOTO LOOP\nENDWHILE\n", ""},
    {"a block never closed is only that", "A:\nIF X THEN\nSUB:\nGOSUB SUB\n", "ifNotClosed@2(A)"},
    {"each closed block around the entry, at its opener",
     "A:\nIF X THEN\nB:\nWHILE Y\nSUB:\nENDWHILE\nENDIF\nGOSUB SUB\n", "ifAcrossEntry@2(A) whileAcrossEntry@4(B)"},
    {"a block that a closer of the outer one leaves open", "A:\nIF X THEN\nWHILE Y\nSUB:\nENDIF\nGOSUB SUB\n",
     "whileNotClosed@3(A) ifAcrossEntry@2(A)"},
    {"the label again, in a block that closes, after one that never does",
     "IF X THEN\nSUB:\nA:\nWHILE Y\nSUB:\nENDWHILE\nGOSUB SUB\n", "ifNotClosed@1() whileAcrossEntry@4(A)"},
};

TEST(ScriptStructure, FindsBlocksPairedAcrossTheEntryOfASubroutine) {
  for (const BlockCase& c : kEntryCases) {
    EXPECT_EQ(testing::problemSummary(scanLines(c.script)), c.problems) << c.name;
  }
  // A repeated section is followed once: its loop holds the same label every time.
  std::string repeated;
  for (int i = 0; i < 100; ++i) repeated += "A:\nWHILE X\nSUB:\nENDWHILE\nGOSUB SUB\n";
  const ScriptStructure structure = scanLines(repeated);
  ASSERT_EQ(structure.blocksAcrossEntries().size(), 1u);
  const BlockAcrossEntry& block = structure.blocksAcrossEntries()[0];
  EXPECT_EQ(structure.names().name(block.entry), "SUB");
  EXPECT_EQ(std::vector<int>({block.openLine, block.entryLine, block.closeLine}), std::vector<int>({2, 3, 4}));
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
  // A label's predecessor is the label in force at its first definition, which a label defined
  // again does not change.
  const ScriptStructure chain = scanLines("A:\nB:\nA:\nC:\n");
  EXPECT_EQ(chain.use(chain.names().find("a")).labelBefore, NameTable::kNone);
  EXPECT_EQ(chain.use(chain.names().find("C")).labelBefore, chain.names().find("B"));
}

// "WHAT:NAME".
std::string word(std::string_view what, std::string_view name) {
  return std::string(what) + ":" + std::string(name);
}

// What one line adds to a structure, as sorted words: "label:NAME", "FORM:NAME" and the block
// problem the line leaves when it stands alone.
std::vector<std::string> effects(const ScriptStructure& structure) {
  static constexpr const char* kForms[] = {"GOTO", "GOSUB", "CLEAR"};
  std::vector<std::string> words;
  for (int id = 0; id < structure.names().size(); ++id) {
    const std::string_view name = structure.names().name(id);
    if (structure.use(id).definitions.count > 0) words.push_back(word("label", name));
    const auto& references = structure.use(id).references;
    for (std::size_t i = 0; i < references.kept(); ++i) {
      words.push_back(word(kForms[static_cast<int>(references.first[i].form)], name));
    }
  }
  const std::string problem = testing::problemSummary(structure);
  if (!problem.empty()) words.push_back(problem.substr(0, problem.find('@')));
  std::sort(words.begin(), words.end());
  return words;
}

// The same from the full reading of the line.
std::vector<std::string> effects(const LineStatement& statement) {
  static constexpr const char* kForms[] = {"GOTO", "GOSUB", "CLEAR"};
  static constexpr const char* kProblems[] = {"", "ifNotClosed", "elseWithoutIf", "elseWithoutIf",
                                              "endIfWithoutIf", "whileNotClosed", "endWhileWithoutWhile"};
  const auto capitals = [](std::string_view name) {
    std::string text(name);
    for (char& c : text) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return text;
  };
  std::vector<std::string> words;
  if (!statement.label.empty()) words.push_back(word("label", capitals(statement.label)));
  for (std::size_t i = 0; i < statement.targetCount; ++i) {
    const LineTarget& target = statement.targets[i];
    words.push_back(word(kForms[static_cast<int>(target.form)], capitals(target.name)));
  }
  if (statement.kind != StatementKind::other) words.push_back(kProblems[static_cast<int>(statement.kind)]);
  std::sort(words.begin(), words.end());
  return words;
}

// A structure settles most lines from their first eight bytes; each such line is read as the full
// reading of the line reads it, at the edges where a keyword or a label ends or is no keyword.
TEST(ScriptStructure, ReadsEveryLineAsTheFullReadingDoes) {
  const char* const kLines[] = {
      "ENDIF", "ENDIF:", "endif ' done", "ENDIFS = 1", "\tENDIF", "                  EndIf", "ELSEIF X THEN",
      "ELSEIF:", "ELSE GOTO A", "ELSE:", "ELSEX", "ENDWHILE", "ENDWHILE:", "ENDWHILE1", "ENDWHIL", "WHILE X",
      "WHILE:", "WHILEX = 1", "WAIT 1", "Goto a", "GOTO", "GOSUB \t B", "GOSUBX", "gosub:", "IF X THEN",
      "IF X THEN GOTO C", "IF:", "IFX = 1", "If x then ' c", "IF A$ = \"'\" THEN", "IF X tHeN   ",
      "ONKEY KV(1) GOSUB D", "ON:", "ON X", "ONE:", "ONEXP_CLEAR E", "onexp_clear e", "ONEXP_CLEARX F",
      "ONEXP_CLEAR: GOTO G", "A_LABEL_LONGER_THAN_SIXTEEN:", "X1234567:", "X1234567", "X123456:", "\xC4NDERN:",
      "V: GOSUB H", "W=1", "G:", "\"GOTO I\"", "' GOTO J", "",
  };
  for (const char* line : kLines) {
    EXPECT_EQ(effects(scanLines(line)), effects(readStatement(line))) << line;
  }
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
