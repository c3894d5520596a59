#include "rules/radio/transponder_subroutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "testing/test_support.h"

namespace aplpatch {
namespace {

using testing::appendedText;

// The three subroutines of the appended text, each from its label to the next label.
struct Subroutines {
  std::string speak, set, test;
};

Subroutines split(const std::string& text) {
  const auto set = text.find("SET_XPNDR_AUTOPILOT_EXT:\n");
  const auto test = text.find("TEST_XPNDR_EXT:\n");
  if (set == std::string::npos || test == std::string::npos || test < set) return {};
  return {text.substr(0, set), text.substr(set, test - set), text.substr(test)};
}

long lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// The block of one index, from its IF line to its ENDIF line.
std::string block(const std::string& text, const std::string& ifLine) {
  const auto start = text.find(ifLine);
  if (start == std::string::npos) return {};
  return text.substr(start, text.find("\n ENDIF\n", start) + 8 - start);
}

TEST(TransponderSubroutines, ComeInOrderAndSetTheCodesOfTheTable) {
  const Subroutines parts = split(appendedText(appendTransponderSubroutines, RewriteState{}));
  EXPECT_TRUE(parts.speak.starts_with("SET_XPNDR_EXT:\n"));
  EXPECT_EQ(lineCount(parts.speak), 1 + 11 * 9 + 1);
  EXPECT_EQ(parts.set,
            "SET_XPNDR_AUTOPILOT_EXT:\n"
            " IF VSQUAWK = 0 THEN\n  TRANS_FREQ = 1171\n ENDIF\n"
            " IF VSQUAWK = 1 THEN\n  TRANS_FREQ = 2147\n ENDIF\n"
            " IF VSQUAWK = 2 THEN\n  TRANS_FREQ = 2164\n ENDIF\n"
            " IF VSQUAWK = 3 THEN\n  TRANS_FREQ = 4171\n ENDIF\n"
            " IF VSQUAWK = 4 THEN\n  TRANS_FREQ = 4662\n ENDIF\n"
            " IF VSQUAWK = 5 THEN\n  TRANS_FREQ = 5142\n ENDIF\n"
            " IF VSQUAWK = 6 THEN\n  TRANS_FREQ = 5717\n ENDIF\n"
            " IF VSQUAWK = 7 THEN\n  TRANS_FREQ = 6116\n ENDIF\n"
            " IF VSQUAWK = 8 THEN\n  TRANS_FREQ = 6711\n ENDIF\n"
            " IF VSQUAWK = 9 THEN\n  TRANS_FREQ = 7120\n ENDIF\n"
            " IF VSQUAWK = 10 THEN\n  TRANS_FREQ = 7617\n ENDIF\n"
            " RETURN\n");
  EXPECT_TRUE(parts.test.ends_with(" ENDIF\n RETURN\n"));
}

// The whole-script test sees only the first code's block; this one pins a later index to its own code.
TEST(TransponderSubroutines, ControllerSpeaksEachIndexsOwnCodeInEachVoice) {
  RewriteState state;
  state.soundRoot = R"( PLAY"D:\SND\WAV\)";
  EXPECT_EQ(block(appendedText(appendTransponderSubroutines, state), " IF VSQUAWK = 3 THEN\n  IF VVOICE"),
            " IF VSQUAWK = 3 THEN\n"
            "  IF VVOICE = 1 THEN\n"
            R"(    PLAY"D:\SND\WAV\CONTROLLERS\VOICE1\FC4171")" "\n"
            "  ELSEIF VVOICE = 2 THEN\n"
            R"(    PLAY"D:\SND\WAV\CONTROLLERS\VOICE2\FC4171")" "\n"
            "  ELSEIF VVOICE = 3 THEN\n"
            R"(    PLAY"D:\SND\WAV\CONTROLLERS\VOICE3\FC4171")" "\n"
            "  ENDIF\n"
            " ENDIF\n");
}

TEST(TransponderSubroutines, CheckWithoutLanguageTransponderSettingOrDepartureKey) {
  const std::string test = split(appendedText(appendTransponderSubroutines, RewriteState{})).test;
  EXPECT_EQ(lineCount(test), 1 + 11 * 10 + 1);
  EXPECT_EQ(block(test, " IF VSQUAWK = 0 "),
            " IF VSQUAWK = 0 AND TRANS_FREQ != 1171 THEN\n"
            "  IF VCALL = 1 THEN\n"
            "    GOSUB PLAYCALL\n"
            "  ENDIF\n"
            "  GOSUB SET_XPNDR_EXT\n"
            "GOSUB SET_XPNDR_EXT\n"
            "WAIT 3\n"
            R"(  COPILOTS\VOICE01\FC_ROGER")" "\n"
            "WAIT 4\n"
            " ENDIF\n");
}

TEST(TransponderSubroutines, CheckShowsTheCodeInTheScriptsLanguageAndSetsTheTransponder) {
  RewriteState state;
  state.soundRoot = R"(PLAY"C:\WAV\)";
  state.departureKeyLine = "ONKEY KV(68) ";
  state.hasTransFreq = true;
  struct Case { MessageLanguage language; const char* ifLine; std::string message; };
  const Case cases[] = {
      {MessageLanguage::english, " IF VSQUAWK = 0 AND TRANS_FREQ != 1171 THEN\n", "PRINT\"CHANGE SQUAWK TO 1171 !\"\n"},
      {MessageLanguage::german, " IF VSQUAWK = 10 AND TRANS_FREQ != 7617 THEN\n", "PRINT\"TRANSPONDER CODE IST 7617 !\"\n"},
  };
  for (const Case& c : cases) {
    state.messageLanguage = c.language;
    EXPECT_EQ(block(appendedText(appendTransponderSubroutines, state), c.ifLine),
              c.ifLine + std::string("  IF VCALL = 1 THEN\n    GOSUB PLAYCALL\n  ENDIF\n  GOSUB SET_XPNDR_EXT\n") +
                  c.message + "WAIT MESSAGE\nONKEY KV(68) GOSUB SET_XPNDR_EXT\nWAIT 3\n" +
                  R"(  PLAY"C:\WAV\COPILOTS\VOICE01\FC_ROGER")" "\n" +
                  "  GOSUB SET_XPNDR_AUTOPILOT_EXT\nWAIT 4\n ENDIF\n");
  }
}

}  // namespace
}  // namespace aplpatch
