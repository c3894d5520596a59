#include "rules/radio/radio_calls.h"

#include "engine/line_text.h"
#include "rules/unseen_lines.h"

namespace aplpatch {

void followTrafficCall(Pass& pass) {
  if (!contains(pass.line(), kTrafficCall)) return;
  ++pass.state().added.trafficInformation;
  pass.write(pass.line());
  pass.write("ENDIF\n");
  pass.write("GOSUB PLAYTRAFFIC\n");
  pass.write("WAIT 15\n");
  pass.write("GOSUB PLAYCALL\n");
  pass.skipUntil("ELSE");
}

void keepTrafficCallBranch(Pass& pass) {
  if (!contains(pass.line(), kTrafficCall)) return;
  pass.write(pass.line());
  keepUnseenUntil(pass, "ELSE");
}

void gatePlayCallVoices(Pass& pass) {
  RewriteState& state = pass.state();
  std::string& line = pass.line();
  if (state.inPlayCall) {
    if (contains(line, kPlayCallEnd)) {
      state.inPlayCall = false;
    } else if (contains(line, kVoiceTest)) {
      ++state.added.gatedRadioCalls;
      pass.write(line);
      pass.write("VRANDOM2 = RANDOM * 100\n");
      pass.write("IF VRANDOM2 > 40 THEN\n");
      if (!pass.readNextLine()) return;
      pass.write(line);
      line.assign("ENDIF\n");
    }
  }
  if (contains(line, kPlayCallLabel)) state.inPlayCall = true;
}

void keepPlayCallVoices(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.inPlayCall) {
    if (contains(pass.line(), kPlayCallEnd)) {
      state.inPlayCall = false;
    } else if (contains(pass.line(), kVoiceTest)) {
      pass.write(pass.line());
      if (pass.readNextLine()) writeUnseen(pass);
      return;
    }
  }
  if (contains(pass.line(), kPlayCallLabel)) state.inPlayCall = true;
}

}  // namespace aplpatch
