#include "rules/approach/radial_heading.h"

#include "engine/line_text.h"

namespace aplpatch {

void turnRadialIntoHeading(Pass& pass) {
  if (contains(pass.line(), kRadialSelfAssignment)) pass.line().assign("VHDG = VRAD\n");
}

}  // namespace aplpatch
