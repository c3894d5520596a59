#include "rules/descent/descent_request.h"

#include "engine/line_text.h"
#include "rules/key_binding.h"

namespace aplpatch {

void captureTargetAltitude(Pass& pass) {
  const std::string& line = pass.line();
  std::string& valt = pass.state().capturedValt;
  if (!valt.empty() || !contains(line, kTargetAltitudeTest)) return;

  const std::string_view rest = std::string_view(line).substr(line.find('=') + 1);
  auto end = rest.find("THEN");
  if (end == std::string_view::npos) end = rest.find('\n');
  valt.assign(rest.substr(0, end));
}

void captureTopOfDescentLine(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.openBlock != OpenBlock::topOfDescent) return;
  std::string& line = pass.line();
  if (contains(line, "ONEXP_CLEAR SET_TOD_ALT")) {
    pass.write(line);
    pass.write(" VDESCREQ = 2\n");
    pass.write(" VMAXALT  = 1\n");
    line.assign("ENDIF\n");
    state.todCount = state.todCaptured;
    state.openBlock = OpenBlock::none;
    return;
  }
  // Reuse the entries an earlier block left behind before growing the table.
  auto& lines = state.todLines;
  const auto next = static_cast<std::size_t>(state.todCaptured);
  if (next < lines.size()) {
    lines[next].assign(line);
  } else {
    lines.push_back(line);
  }
  ++state.todCaptured;
}

void markDeparture(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kDepartureLabel)) return;
  pass.write(line);
  line.assign(" VDESCREQ = 1\n");
}

void startTopOfDescentCapture(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kTopOfDescentLabel)) return;
  pass.state().openBlock = OpenBlock::topOfDescent;
  pass.state().todCaptured = 0;
  ++pass.state().added.topOfDescentBlocks;
  pass.write(line);
  line.assign("IF VDESCREQ = 1 THEN\n");
}

void rebindExtraKeyToDescentRequest(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kExtraKeyCall)) return;
  pass.print("changing x-key function...\n");
  line.resize(line.find("CHECK_XKEY"));
  line.append("REQ_DESCENT\n");
  if (auto key = boundKeyCode(line)) noteKeyCode(pass.state().added.descentRequestKeys, *key);
}

void endOpenBlockAtTopOfDescent(Pass& pass) {
  if (contains(pass.line(), kTopOfDescentLabel)) pass.state().openBlock = OpenBlock::none;
}

void guardAutopilotAltitude(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kAutopilotAltitudeAssignment)) return;
  pass.write("IF VMAXALT = 500000 THEN\n");
  pass.write(line);
  const std::string& valt = pass.state().capturedValt;
  if (!valt.empty()) {
    pass.write("ELSE\n");
    pass.write(" AUTOPILOT_ALTITUDE = ");
    pass.write(valt);
    pass.write("\n");
  }
  line.assign("ENDIF\n");
}

}  // namespace aplpatch
