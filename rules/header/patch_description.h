#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The pass that gets the description.
inline constexpr int kPatchDescriptionPass = 3;
// The description line, without its line end. A run also looks for it to tell a script that it
// has patched already.
inline constexpr std::string_view kPatchDescriptionLine = "DESCRIPTION \"PATCHED BY JM\"";

// Marks the script as patched: the third pass gets a description line written ahead of its line.
void writePatchDescription(Pass& pass);

}  // namespace aplpatch
