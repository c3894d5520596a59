#include "rules/descent/req_descent_subroutine.h"

#include <optional>
#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

// The start of the first kept line that plays the co-pilot's flight-level call, up to and including
// the last backslash of the sound's path; empty when there is no such line or it has no backslash.
std::string_view descentSoundFolder(const RewriteState& state) {
  for (int i = 0; i < state.todCount; ++i) {
    const std::string_view entry = state.todLines[i];
    if (contains(entry, "PLAY") && contains(entry, "FLTLVL")) {
      const auto lastBackslash = entry.rfind('\\');
      if (lastBackslash == std::string_view::npos) return {};
      return entry.substr(0, lastBackslash + 1);
    }
  }
  return {};
}

// Kept lines that the request leaves out: it makes its own radio call and altitude announcement.
bool isRadioCallOrReadBack(std::string_view entry) {
  return contains(entry, "GOSUB PLAYCALL") || contains(entry, "GOSUB PLAY_ALTITUDE") ||
         contains(entry, "FC_ROGER");
}

}  // namespace

void appendDescentRequest(Pass& pass) {
  const RewriteState& state = pass.state();
  const std::string_view folder = descentSoundFolder(state);

  pass.write("REQ_DESCENT:\n");
  pass.write("IF VDESCREQ = 1 THEN\n");
  if (!folder.empty()) {
    pass.write(folder);
    pass.write("FC_CENTER\"\n");
  }
  pass.write("GOSUB PLAYID\n");
  // The request sound lies in the folder that holds the co-pilot's folder.
  const auto copilot = folder.find("COPILOT");
  if (copilot != std::string_view::npos) {
    pass.write(folder.substr(0, copilot));
    pass.write("Request\"\n");
  }

  std::optional<std::string_view> clearanceReadBack;
  for (int i = 0; i < state.todCount; ++i) {
    const std::string_view entry = state.todLines[i];
    if (isRadioCallOrReadBack(entry)) continue;
    if (contains(entry, "DESCCL")) {
      clearanceReadBack = entry;
      continue;
    }
    if (contains(entry, "WAIT 15")) continue;
    pass.write(entry);
  }

  pass.write(" VMAXALT = 0\n");
  pass.write(" VDESCREQ = 2\n");
  pass.write(" WAIT 5\n");
  pass.write(" GOSUB PLAYCALL\n");
  pass.write(" GOSUB PLAY_ALTITUDE\n");
  if (clearanceReadBack) {
    pass.write(" WAIT 10\n");
    pass.write(*clearanceReadBack);
  }
  pass.write("ENDIF\n");
  pass.write("RETURN\n");
}

}  // namespace aplpatch
