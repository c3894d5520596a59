#include "rules/ground/gear_guard.h"

#include "engine/line_text.h"

namespace aplpatch {

void openGearGuard(Pass& pass) {
  if (contains(pass.line(), "ATOGEARUP:")) pass.write("IF (RETRACTABLE_GEAR) THEN\n");
}

void closeGearGuard(Pass& pass) {
  if (contains(pass.line(), "ATOFLAPSALLUP:")) pass.write("ENDIF\n");
}

}  // namespace aplpatch
