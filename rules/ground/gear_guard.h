#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kGearUpLabel = "ATOGEARUP:";
inline constexpr std::string_view kFlapsUpLabel = "ATOFLAPSALLUP:";

// The gear-up step after take-off, from the "ATOGEARUP:" label up to the "ATOFLAPSALLUP:" label, runs
// only on aircraft with retractable gear: the first label gets the condition ahead of it, the second
// its end.
void openGearGuard(Pass& pass);
void closeGearGuard(Pass& pass);

}  // namespace aplpatch
