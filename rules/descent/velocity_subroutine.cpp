#include "rules/descent/velocity_subroutine.h"

namespace aplpatch {

void appendVelocitySubroutine(Pass& pass) {
  pass.write("COMPUTE_VELOCITY_Y:\n"
             " TIME1 = ELAPSED_TIME\n"
             " ALT1  = PLANE_ALT\n"
             " WAIT 1\n"
             " TIME2 = ELAPSED_TIME\n"
             " ALT2  = PLANE_ALT\n"
             " VEL_Y = (ALT2-ALT1)/((TIME2-TIME1)/60)\n"
             "RETURN\n");
}

}  // namespace aplpatch
