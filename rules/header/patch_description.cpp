#include "rules/header/patch_description.h"

namespace aplpatch {

void writePatchDescription(Pass& pass) {
  if (pass.number() != kPatchDescriptionPass) return;
  pass.write(kPatchDescriptionLine);
  pass.write("\n");
}

}  // namespace aplpatch
