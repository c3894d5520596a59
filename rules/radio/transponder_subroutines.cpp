#include "rules/radio/transponder_subroutines.h"

#include <iterator>
#include <string>
#include <string_view>

namespace aplpatch {

namespace {

constexpr auto& kCodes = RewriteState::squawkCodes;

// " IF VSQUAWK = <index>" : the start of every per-code block.
std::string ifSquawk(std::size_t index) { return " IF VSQUAWK = " + std::to_string(index); }

void writeSpeakCode(Pass& pass) {
  // One recording per code in each of the three controller voices.
  static constexpr std::string_view kVoiceTests[] = {
      "  IF VVOICE = 1 THEN\n", "  ELSEIF VVOICE = 2 THEN\n", "  ELSEIF VVOICE = 3 THEN\n"};
  const std::string& root = pass.state().soundRoot;
  pass.write("SET_XPNDR_EXT:\n");
  for (std::size_t i = 0; i < kCodes.size(); ++i) {
    pass.write(ifSquawk(i) + " THEN\n");
    for (std::size_t voice = 0; voice < std::size(kVoiceTests); ++voice) {
      pass.write(kVoiceTests[voice]);
      pass.write("   " + root + "CONTROLLERS\\VOICE" + std::to_string(voice + 1) + "\\FC" +
                 std::string(kCodes[i]) + "\"\n");
    }
    pass.write("  ENDIF\n");
    pass.write(" ENDIF\n");
  }
  pass.write(" RETURN\n");
}

void writeSetTransponder(Pass& pass) {
  pass.write("SET_XPNDR_AUTOPILOT_EXT:\n");
  for (std::size_t i = 0; i < kCodes.size(); ++i) {
    pass.write(ifSquawk(i) + " THEN\n");
    pass.write("  TRANS_FREQ = " + std::string(kCodes[i]) + "\n");
    pass.write(" ENDIF\n");
  }
  pass.write(" RETURN\n");
}

void writeTestTransponder(Pass& pass) {
  const RewriteState& state = pass.state();
  pass.write("TEST_XPNDR_EXT:\n");
  for (std::size_t i = 0; i < kCodes.size(); ++i) {
    const std::string code(kCodes[i]);
    pass.write(ifSquawk(i) + " AND TRANS_FREQ != " + code + " THEN\n");
    pass.write("  IF VCALL = 1 THEN\n");
    pass.write("    GOSUB PLAYCALL\n");
    pass.write("  ENDIF\n");
    pass.write("  GOSUB SET_XPNDR_EXT\n");
    if (state.messageLanguage == MessageLanguage::english) {
      pass.write("PRINT\"CHANGE SQUAWK TO " + code + " !\"\n");
      pass.write("WAIT MESSAGE\n");
    } else if (state.messageLanguage == MessageLanguage::german) {
      pass.write("PRINT\"TRANSPONDER CODE IST " + code + " !\"\n");
      pass.write("WAIT MESSAGE\n");
    }
    pass.write(state.departureKeyLine);
    pass.write("GOSUB SET_XPNDR_EXT\n");
    pass.write("WAIT 3\n");
    pass.write("  " + state.soundRoot + "COPILOTS\\VOICE01\\FC_ROGER\"\n");
    if (state.hasTransFreq) pass.write("  GOSUB SET_XPNDR_AUTOPILOT_EXT\n");
    pass.write("WAIT 4\n");
    pass.write(" ENDIF\n");
  }
  pass.write(" RETURN\n");
}

}  // namespace

void appendTransponderSubroutines(Pass& pass) {
  writeSpeakCode(pass);
  writeSetTransponder(pass);
  writeTestTransponder(pass);
}

}  // namespace aplpatch
