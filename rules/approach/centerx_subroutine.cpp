#include "rules/approach/centerx_subroutine.h"

#include <cstddef>
#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

// Where the closing jump's label ends: at the first blank, newline or control byte from the last
// letter of "GOTO WAIT_VOR" on. The search starts at the jump itself, wherever it stands, so an
// indented jump or one behind a test keeps its whole label. Bytes count as unsigned, so a letter
// above 127 (such as a Windows-1252 umlaut) belongs to the label and the jump names the same label
// as the "_MISSED" entry.
std::size_t jumpLabelEnd(const std::string& line) {
  for (std::size_t i = line.find(kWaitVorJump) + kWaitVorJump.size() - 1; i < line.size(); ++i) {
    if (static_cast<unsigned char>(line[i]) <= 32) return i;
  }
  return line.size();
}

// Index of the first entry from `from` on that contains `text`, or the table's end.
int findFrom(const RewriteState& state, int from, std::string_view text) {
  while (from < state.centerCount && !contains(state.centerLines[from], text)) ++from;
  return from;
}

// Writes the kept centre block for CENTERX. A controller's course call gets the course played
// after it and skips ahead to the "FC_N058" line; a co-pilot's heading call is replaced by the
// next flight-level call; the radio-call prelude becomes a pause.
void replayCenterLines(Pass& pass) {
  const RewriteState& state = pass.state();
  for (int i = 0; i < state.centerCount; ++i) {
    const std::string& entry = state.centerLines[i];
    if (contains(entry, "\\CONTROLLERS\\") && contains(entry, "FC_N057")) {
      pass.write(entry);
      pass.write("VCOURSE = VHDG\n");
      pass.write("GOSUB PLAY_COURSE\n");
      i = findFrom(state, i, "FC_N058");
      if (i == state.centerCount) return;
      pass.write(state.centerLines[i]);
    } else if (contains(entry, "\\COPILOTS\\") && contains(entry, "FC_HDG")) {
      i = findFrom(state, i, "FLTLVL");
      if (i == state.centerCount) return;
      pass.write(state.centerLines[i]);
    } else if (contains(entry, "GOSUB PLAYCALL")) {
      pass.write("WAIT 10\n");
    } else {
      pass.write(entry);
    }
  }
}

}  // namespace

void writeCenterSubroutine(Pass& pass) {
  RewriteState& state = pass.state();
  std::string& line = pass.line();
  if (state.centerCapture != CenterCapture::armed || !contains(line, kWaitVorJump)) return;

  pass.write("GOSUB CENTERX\n");
  pass.write(state.departureKeyLine);
  pass.write("GOSUB CENTERX\n");
  line.resize(jumpLabelEnd(line));
  line.append("_MISSED\n");
  pass.write(line);
  pass.write("CENTERX:\n");
  pass.write(" VALT = ");
  pass.write(state.capturedValt);
  pass.write("\n");
  replayCenterLines(pass);
  pass.write("GOSUB AUTOPILOT\n");

  state.centerCapture = CenterCapture::idle;
  ++state.added.centreReplays;
  line.assign("RETURN\n");
}

}  // namespace aplpatch
