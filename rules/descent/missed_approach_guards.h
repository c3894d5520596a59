#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kTowerWaitLabel = "WAIT_APP_TOWER:";
inline constexpr std::string_view kFinalLabel = "FINAL:";
inline constexpr std::string_view kTowerFrequencyWait = "WHILE (COM_FREQ != 120.00)";
inline constexpr std::string_view kContactWait = "WHILE VCONTACTED = 0";

// Between "WAIT_APP_TOWER:" and "FINAL:" the script waits for the tower. Its wait for the frequency
// 120.00 jumps to the forced missed approach MISSED_APP2 once the aircraft is below 750 above the
// ground. This rule also opens and closes that window.
void guardTowerWaitFrequency(Pass& pass);

// Inside the same window, the wait for the contact flag gets the same forced missed approach.
void guardTowerWaitContact(Pass& pass);

}  // namespace aplpatch
