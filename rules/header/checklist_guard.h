#pragma once

#include <string_view>

#include "rules/rule_pass.h"

namespace aplpatch {

// The texts these rules test.
inline constexpr std::string_view kChecklistDeclaration = "DECLARE VCHECKLISTS";
inline constexpr std::string_view kChecklistLabel = "CHECK_LISTS:";
inline constexpr std::string_view kFifthChecklist = "VCHECKLISTS = 5";

// The checklist subroutine runs each checklist once: VCHECKSDONE counts the checklists done, and
// the subroutine returns at once when the script's VCHECKLISTS has not moved past it.

// Notes that the script declares VCHECKLISTS (the guard needs it). The line is unchanged.
void noteChecklistDeclaration(Pass& pass);

// After the "CHECK_LISTS:" label of a script that declares VCHECKLISTS, returns unless a new
// checklist is due and then counts it as done. Scripts without the declaration get nothing.
void guardChecklists(Pass& pass);

// Ahead of a line starting with "VCHECKLISTS = 5", sets the list check to 4 and the done count
// to 5.
void countFifthChecklist(Pass& pass);

}  // namespace aplpatch
