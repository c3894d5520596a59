#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kTouchdownWait = "WHILE ON_GROUND = 0";
inline constexpr std::array<std::string_view, 2> kSpeedLoops = {"WHILE VELOCITY > 30",
                                                               "WHILE VELOCITY > 50"};

// The key text of a touchdown wait's key test: it begins one byte after "IF KEY = KV" (the byte right
// after it, normally "(", is passed over) and ends before the first ")" from there. None when the line
// has no such test, the start lies past the line's end or no ")" follows. An empty text is a key text.
std::optional<std::string_view> missedApproachKeyText(std::string_view line);

// A touchdown wait loop ("WHILE ON_GROUND = 0") whose next line tests a key: the key becomes a binding
// that calls MISSED_APP_KEY, the flag is cleared ahead of the loop and the key test turns into a test
// of the flag. Any other next line becomes the current line and goes on through the later rules.
void bindMissedApproachKey(Pass& pass);

// In its place without the missed approach: the touchdown wait and the line after it stay as the
// host wrote them, and that line goes on from here, unseen by the rules before, as with the key.
void keepTouchdownWait(Pass& pass);

// Once a key is bound, the loops that run while the speed is above 30 or 50 jump to MISSED_APP when
// the flag is set.
void guardSpeedLoopsWithMissedKey(Pass& pass);

}  // namespace aplpatch
