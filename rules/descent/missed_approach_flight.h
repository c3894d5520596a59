#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kCenterResponseCall = "GOSUB CENTER_RESPOND";
inline constexpr std::string_view kApproachContactCall = "GOSUB CONTACT_APP";
inline constexpr std::string_view kLocalizerFrequencyWait = "WHILE (COM_FREQ != 122.00)";

// While a missed approach is flown, a centre response call (a line starting with
// "GOSUB CENTER_RESPOND") gives way to the radio-call prelude.
void skipCenterResponseWhenMissed(Pass& pass);

// While a missed approach is flown, an approach contact call (a line starting with
// "GOSUB CONTACT_APP") is skipped.
void skipApproachContactWhenMissed(Pass& pass);

// While a missed approach is flown, the wait for the frequency 122.00 goes straight to LOCALIZER when
// that frequency is already set.
void shortcutToLocalizerWhenMissed(Pass& pass);

}  // namespace aplpatch
