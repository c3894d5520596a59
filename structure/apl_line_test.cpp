#include "structure/apl_line.h"

#include <gtest/gtest.h>

#include <string>

namespace aplpatch {
namespace {

// The statement in short: the label, the kind, then each target as FORM:NAME.
std::string shortForm(const LineStatement& statement) {
  static constexpr const char* kKinds[] = {"", "IF", "ELSEIF", "ELSE", "ENDIF", "WHILE", "ENDWHILE"};
  static constexpr const char* kForms[] = {"GOTO", "GOSUB", "CLEAR"};
  std::string text;
  if (!statement.label.empty()) text += std::string(statement.label) + ": ";
  text += kKinds[static_cast<int>(statement.kind)];
  for (std::size_t i = 0; i < statement.targetCount; ++i) {
    text += std::string(" ") + kForms[static_cast<int>(statement.targets[i].form)] + ":" +
            std::string(statement.targets[i].name);
  }
  return text;
}

struct Case {
  const char* line;
  const char* expected;
};

constexpr Case kCases[] = {
    // Labels, alone, indented, in any case, with a comment or a statement after the colon.
    {"WELCOME:", "WELCOME: "},
    {" Departure:  ' the departure call", "Departure: "},
    {"X: GOTO Y", "X:  GOTO:Y"},
    {"ENDE: END", "ENDE: "},
    {"\xDC" "BERGANG:", "\xDC" "BERGANG: "},
    // Jumps and calls, with comments and a CR left over from CR LF.
    {"GOSUB PLAYCALL", " GOSUB:PLAYCALL"},
    {" goto cruise ' on to the cruise", " GOTO:cruise"},
    {"GOSUB X\r", " GOSUB:X"},
    // Key and trigger bindings.
    {"ONKEY KV(76) GOSUB LINE_UP ' line up", " GOSUB:LINE_UP"},
    {"ONEXP VOR_1_DME < 40 GOSUB SET_TOD_ALT", " GOSUB:SET_TOD_ALT"},
    {" ONEXP_CLEAR SET_TOD_ALT", " CLEAR:SET_TOD_ALT"},
    {" ONEXP_CLEAR KV(4)", ""},
    // Block IF, single-line IF, quoted text and comments.
    {"IF KEY = KV(77) THEN", "IF"},
    {" if x then ' nothing follows", "IF"},
    {"IF PLANE_ALT - GROUND_ALTITUDE < 750", "IF"},
    {"IF PLANE_ALT < 750 ' no THEN", "IF"},
    {"IF VALT = 5 THEN GOTO TOD", " GOTO:TOD"},
    {"if a then gosub x else goto y", " GOSUB:x GOTO:y"},
    {"IF A$ = \"THEN GOTO X\" THEN", "IF"},
    {"ELSEIF VVOICE = 2 THEN", "ELSEIF"},
    {" ENDIF", "ENDIF"},
    {"WHILE (COM_FREQ != 121.90)", "WHILE"},
    {"ENDWHILE ' rolling", "ENDWHILE"},
    // Lines that only look like structure.
    {"ENDIFS = 1", ""},
    {"PRINT\"GOTO X\"", ""},
    {"' GOTO X", ""},
    {"", ""},
};

TEST(ReadStatement, FindsLabelsTargetsAndBlockWords) {
  for (const Case& c : kCases) {
    EXPECT_EQ(shortForm(readStatement(c.line)), c.expected) << c.line;
  }
}

}  // namespace
}  // namespace aplpatch
