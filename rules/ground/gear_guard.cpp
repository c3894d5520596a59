#include "rules/ground/gear_guard.h"

#include "engine/line_text.h"

namespace aplpatch {

void openGearGuard(Pass& pass) {
  if (contains(pass.line(), kGearUpLabel)) pass.write("IF (RETRACTABLE_GEAR) THEN\n");
}

void closeGearGuard(Pass& pass) {
  if (contains(pass.line(), kFlapsUpLabel)) pass.write("ENDIF\n");
}

}  // namespace aplpatch
