#include "rules/descent/missed_approach_subroutine.h"

namespace aplpatch {

void appendMissedApproachKeySubroutine(Pass& pass) {
  pass.write(
      "MISSED_APP_KEY:\n"
      " VMISSEDAPP = 1\n"
      " RETURN\n");
}

}  // namespace aplpatch
