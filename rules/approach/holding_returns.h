#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kHoldfixCLabel = "HOLDFIX_C";
inline constexpr std::string_view kHoldfixBcLabel = "HOLDFIX_BC";
inline constexpr std::string_view kHoldingStartCall = "FC_N027";
inline constexpr std::string_view kHoldingTurnCall = "FC_N023";

// The generated holding-start and holding-turn subroutines run straight into the next holding-fix
// section. Their opening lines are announced on the console and remembered as open blocks; the
// first later line naming the section that follows gets the missing "RETURN" written ahead of it.

// While a holding-start subroutine is open: writes "RETURN" ahead of the first line that names
// HOLDFIX_C and closes the block.
void insertReturnBeforeHoldfixC(Pass& pass);
// While a holding-turn subroutine is open: writes "RETURN" ahead of the first line that names
// HOLDFIX_BC and closes the block.
void insertReturnBeforeHoldfixBc(Pass& pass);

// A line with the holding-start controller call opens the holding-start block.
void openHoldingStart(Pass& pass);
// A line with the holding-turn controller call opens the holding-turn block.
void openHoldingTurn(Pass& pass);

}  // namespace aplpatch
