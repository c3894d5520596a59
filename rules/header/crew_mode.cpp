#include "rules/header/crew_mode.h"

#include "engine/line_text.h"

namespace aplpatch {

void upcaseLine(Pass& pass) {
  std::string& line = pass.line();
  upcaseAscii(line);
  if (contains(line, "NOCREW") && contains(line, "DESCRIPTION")) {
    pass.state().crewMode = 1;
    line.assign("\n");
  }
}

}  // namespace aplpatch
