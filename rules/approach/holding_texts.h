#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kEnglishHoldingText = "STANDING PROCEDURE TURN";
inline constexpr std::string_view kGermanHoldingText = "WARTESCHLEIFE";

// Shortens the English holding instruction: on a line with "STANDING PROCEDURE TURN", the text from
// the first "MAINTAIN " up to the next "FIX" is removed. Without both, the line stays as it is.
void shortenEnglishHoldingText(Pass& pass);

// Shortens the German holding instruction: on a line with "WARTESCHLEIFE", the text from the first
// "GEHEN SIE AUF " up to the next "KURS " is removed. Without both, the line stays as it is.
void shortenGermanHoldingText(Pass& pass);

}  // namespace aplpatch
