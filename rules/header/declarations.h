#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kDeclareKeyword = "DECLARE";

// Declares the variables that the inserted text uses, just ahead of the script's first "DECLARE"
// line, and gives them their initial values just ahead of the first line after it that is not a
// declaration (a blank line counts). Each is written once per run; a script without any "DECLARE"
// line gets neither.
void insertDeclarations(Pass& pass);

}  // namespace aplpatch
