#include "rules/unseen_lines.h"

#include "engine/line_text.h"
#include "rules/approach/autopilot_stub.h"

namespace aplpatch {

bool keepUnseenUntil(Pass& pass, std::string_view text) {
  while (pass.readNextLine()) {
    if (contains(pass.line(), text)) return true;
    upcaseAscii(pass.line());
    noteAutopilotSubroutine(pass);
    pass.write(pass.line());
  }
  return false;
}

void writeUnseen(Pass& pass) {
  upcaseAscii(pass.line());
  pass.write(pass.line());
  pass.endPass();
}

}  // namespace aplpatch
