#pragma once

#include "engine/pass.h"

namespace aplpatch {

// The pass that gets the description.
inline constexpr int kPatchDescriptionPass = 3;

// Marks the script as patched: the third pass gets a description line written ahead of its line.
void writePatchDescription(Pass& pass);

}  // namespace aplpatch
