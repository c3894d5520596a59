#include "rules/header/patch_description.h"

namespace aplpatch {

void writePatchDescription(Pass& pass) {
  if (pass.number() == kPatchDescriptionPass) pass.write("DESCRIPTION \"PATCHED BY JM\"\n");
}

}  // namespace aplpatch
