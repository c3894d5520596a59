#include "rules/descent/altitude_lookahead.h"

#include <utility>

#include "engine/line_text.h"

namespace aplpatch {

void guardAltitudeAssignment(Pass& pass) {
  std::string& line = pass.line();
  if (!contains(line, kAltitudeAssignment) || contains(line, kAltitudeTest)) return;

  std::string& next = pass.scratch();
  const bool haveNext = pass.lookAhead(next);
  if (haveNext && contains(next, "GOTO GOWAITVORX")) {
    pass.write(line);
  } else {
    // At the end of the input there is no jump to look at: guard the assignment.
    pass.write("IF VMAXALT = 500000 THEN\n");
    pass.write(line);
    pass.write("ENDIF\n");
  }
  if (haveNext) {
    std::swap(line, next);
    pass.keepLineForNextPass();
  }
  pass.endPass();
}

void passAltitudeAssignmentUnguarded(Pass& pass) {
  const std::string& line = pass.line();
  if (!contains(line, kAltitudeAssignment) || contains(line, kAltitudeTest)) return;
  pass.write(line);
  pass.endPass();
}

}  // namespace aplpatch
