#include "rules/descent/missed_approach_key.h"

#include <utility>

#include "engine/line_text.h"
#include "rules/key_binding.h"

namespace aplpatch {

std::optional<std::string_view> missedApproachKeyText(std::string_view line) {
  constexpr std::string_view kKeyTest = "IF KEY = KV";
  const std::size_t at = line.find(kKeyTest);
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t start = at + kKeyTest.size() + 1;
  if (start > line.size()) return std::nullopt;
  const std::size_t end = line.find(')', start);
  if (end == std::string_view::npos) return std::nullopt;
  return line.substr(start, end - start);
}

void bindMissedApproachKey(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kTouchdownWait)) return;
  std::string& next = pass.scratch();
  // The trigger line as the last line of the script goes on unchanged.
  if (!pass.lookAhead(next)) return;

  RewriteState& state = pass.state();
  if (auto key = missedApproachKeyText(next)) {
    state.missedAppKey.assign(*key);
    noteKeyCode(state.added.missedApproachKeys, *key);
    pass.write("ONKEY KV(");
    pass.write(state.missedAppKey);
    pass.write(") GOSUB MISSED_APP_KEY\n");
    pass.write("VMISSEDAPP = 0\n");
    pass.write(line);
    line.assign(" IF (VMISSEDAPP = 1) THEN\n");
  } else {
    pass.write(line);
    std::swap(line, next);
  }
}

void keepTouchdownWait(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kTouchdownWait)) return;
  std::string& next = pass.scratch();
  if (!pass.lookAhead(next)) return;
  pass.write(line);
  std::swap(line, next);
}

void guardSpeedLoopsWithMissedKey(Pass& pass) {
  if (pass.state().missedAppKey.empty()) return;
  std::string& line = pass.line();
  if (!contains(line, kSpeedLoops[0]) && !contains(line, kSpeedLoops[1])) return;
  pass.write(line);
  pass.write(
      " IF (VMISSEDAPP = 1) THEN\n"
      "  GOTO MISSED_APP\n");
  line.assign(" ENDIF\n");
}

}  // namespace aplpatch
