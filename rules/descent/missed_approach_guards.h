#pragma once

#include "engine/pass.h"

namespace aplpatch {

// Between "WAIT_APP_TOWER:" and "FINAL:" the script waits for the tower. Its wait for the frequency
// 120.00 jumps to the forced missed approach MISSED_APP2 once the aircraft is below 750 above the
// ground. This rule also opens and closes that window.
void guardTowerWaitFrequency(Pass& pass);

// Inside the same window, the wait for the contact flag gets the same forced missed approach.
void guardTowerWaitContact(Pass& pass);

}  // namespace aplpatch
