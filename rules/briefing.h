#pragma once

#include <string>
#include <string_view>

#include "rules/rewrite_script.h"

namespace aplpatch {

// The flight's briefing, from what the rules did in the rewrite that `report` describes: a heading,
// the keys that the additions bind, then one line per feature with what it added to this script
// (or "off"). Plain text, each line ending in LF.
std::string flightBriefing(const RewriteReport& report);

// The keys that the additions of one rewrite bind, in short, for the line a run ends with: "X descent
// request, M missed approach, L line-up" ("X or F2 descent request" for two), or "none added".
std::string keysSummary(const Additions& added);

// A key code as a binding spells it inside "KV(...)", the way a pilot reads it: a letter, digit or
// function key in quotes ("88" is "X", "112" is "F1"), "Space", or "key code <n>" for the rest.
std::string keyName(std::string_view code);

}  // namespace aplpatch
