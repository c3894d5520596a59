#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kWelcomeLabel = "WELCOME:";
inline constexpr std::string_view kGermanKeyHint = "UM EINE UEBERSICHT";
inline constexpr std::string_view kEnglishKeyHint = "TO SEE THE KEYS AVAILABLE DURING THIS FLIGHT";

// The welcome subroutine gets a notice that the adventure is patched, and its hint at the key list
// becomes a hint at the descent-request key.

// Opens the welcome block at a "WELCOME:" line: the notice goes to the next line that carries the
// key hint, unless another block opens first. The line itself is unchanged.
void openWelcomeNotice(Pass& pass);

// Inside the welcome block, puts the notice and a message wait ahead of the German or English key
// hint and rewords the hint; the block closes once a notice is written. A German hint is rebuilt
// around its bracketed key, e.g. "(X)"; one without a bracketed key gets the notice and stays as it
// is. An English hint keeps the text in front of the key list and says what the key does now.
// Without the descent request the key keeps its old use, and the hint stays as it is.
void insertPatchNotice(Pass& pass);

}  // namespace aplpatch
