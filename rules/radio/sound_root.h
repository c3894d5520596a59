#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

inline constexpr std::string_view kPlayStart = "PLAY\"";

// Keeps the start of the first PLAY line, through its first "\WAV\", as the sound root: the PLAY
// instruction with its leading blanks, the opening quote and the sound folder, to which every
// inserted sound line appends a path and a closing quote. A PLAY line without "\WAV\" leaves the
// root unset, so a later PLAY line may set it. The line is unchanged.
void captureSoundRoot(Pass& pass);

}  // namespace aplpatch
