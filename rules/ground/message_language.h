#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts this rule tests in a message.
inline constexpr std::string_view kEnglishTransponderText = "SQUAWK";
inline constexpr std::string_view kGermanTransponderText = "TRANSPONDER CODE";

// Learns the language of the script's messages from its transponder messages: a PRINT line with
// "SQUAWK" means English, one with "TRANSPONDER CODE" German (German wins when a line has both).
// The last such line before a generated message decides its language. The line is unchanged.
void detectMessageLanguage(Pass& pass);

}  // namespace aplpatch
