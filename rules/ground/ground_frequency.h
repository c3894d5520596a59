#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kGroundWaitLoopEnd = "ENDWHILE";
inline constexpr std::string_view kGroundKeyWait = "WHILE KEY !=";
inline constexpr std::string_view kGroundFrequencyLabel = "WAITGROUNDFREQ:";

// Inside the ground-frequency wait: every "ENDWHILE" gets the contact flag cleared ahead of it, and
// the key wait becomes a wait on the contact flag, which closes the block.
void awaitGroundContact(Pass& pass);

// The "WAITGROUNDFREQ:" label opens the ground-frequency wait; the label line itself is unchanged.
void openGroundFrequencyWait(Pass& pass);
// In its place without the ground supervision: the label still closes whatever block is open, as
// opening the wait would, and the line is unchanged.
void endOpenBlockAtGroundFrequencyLabel(Pass& pass);

}  // namespace aplpatch
