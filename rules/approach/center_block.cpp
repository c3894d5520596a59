#include "rules/approach/center_block.h"

#include "engine/line_text.h"

namespace aplpatch {

void captureCenterLine(Pass& pass) {
  RewriteState& state = pass.state();
  if (state.centerCapture != CenterCapture::capturing) return;
  const std::string& line = pass.line();
  if (contains(line, "RETURN")) {
    state.centerCapture = CenterCapture::idle;
    return;
  }
  // Reuse the entries an earlier block left behind before growing the table.
  auto& lines = state.centerLines;
  const auto next = static_cast<std::size_t>(state.centerCount);
  if (next < lines.size()) {
    lines[next].assign(line);
  } else {
    lines.push_back(line);
  }
  ++state.centerCount;
}

void startCenterCapture(Pass& pass) {
  if (!startsWith(pass.line(), kCenterLabelStart)) return;
  pass.state().centerCapture = CenterCapture::capturing;
  pass.state().centerCount = 0;
}

void keepDepartureKey(Pass& pass) {
  const std::string& line = pass.line();
  if (!contains(line, "ONKEY KV(")) return;
  const auto target = line.find(kDepartureCall);
  if (target == std::string::npos) return;
  pass.state().departureKeyLine.assign(line, 0, target);
}

void armCenterReplay(Pass& pass) {
  if (contains(pass.line(), kWaitVorXLabel) && pass.state().centerCount > 0) {
    pass.state().centerCapture = CenterCapture::armed;
  }
}

namespace {

// The label of a "WAIT_VOR" line: its text up to the first ":", or, without one, up to its newline.
std::string::size_type labelEnd(const std::string& labelLine) {
  const auto colon = labelLine.find(':');
  if (colon != std::string::npos) return colon;
  return labelLine.find('\n');
}

}  // namespace

void addWaitVorMissedEntry(Pass& pass) {
  RewriteState& state = pass.state();
  const std::string& line = pass.line();
  if (startsWith(line, kWaitVorLabelStart)) {
    state.waitVorLabel.assign(line);
    state.waitVorEntry = WaitVorEntry::labelSeen;
  } else if (state.waitVorEntry == WaitVorEntry::none) {
    return;
  }
  if (state.waitVorEntry == WaitVorEntry::labelSeen) {
    if (!contains(line, "ONKEY KV")) return;
    state.waitVorEntry = WaitVorEntry::inKeyBindings;
  }
  if (contains(line, "ONKEY KV")) return;

  // The first line after the key bindings.
  std::string& label = state.waitVorLabel;
  const auto end = labelEnd(label);
  if (end != std::string::npos) label.resize(end);
  label.append("_MISSED:\n");
  pass.write(label);
  pass.write("GOSUB AUTOPILOT\n");
  pass.write(line);
  state.waitVorEntry = WaitVorEntry::none;
}

}  // namespace aplpatch
