#include "rules/descent/altitude_lookahead.h"

#include <utility>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

bool isAltitudeAssignment(const std::string& line) {
  return contains(line, kAltitudeAssignment) && !contains(line, "IF VALT");
}

}  // namespace

void guardAltitudeAssignment(Pass& pass) {
  std::string& line = pass.line();
  if (!isAltitudeAssignment(line)) return;

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
  if (!isAltitudeAssignment(pass.line())) return;
  pass.write(pass.line());
  pass.endPass();
}

}  // namespace aplpatch
