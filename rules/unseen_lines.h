#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// For the stand-ins of switched-off rules that, switched on, read lines themselves and replace
// them: the host's lines stay in the script, and as with the rule on no other rule sees them, so
// that no rule of another feature acts where the full rewrite would not.

// Reads lines into the line buffer until one holds `text`, as Pass::skipUntil does, but writes each
// line before it in capitals instead of dropping it. The line found stays as read. Returns false
// at the end of the input, with the line buffer empty. A kept line that defines the script's own
// AUTOPILOT subroutine is noted as such, so that no second one is appended.
bool keepUnseenUntil(Pass& pass, std::string_view text);

// Writes the line buffer in capitals and ends the pass, so that no later rule sees the line.
void writeUnseen(Pass& pass);

}  // namespace aplpatch
