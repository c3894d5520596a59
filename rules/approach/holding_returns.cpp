#include "rules/approach/holding_returns.h"

#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

void insertMissingReturn(Pass& pass, int RewriteState::*openBlock, std::string_view section) {
  int& open = pass.state().*openBlock;
  if (open == 0 || !contains(pass.line(), section)) return;
  pass.print("insert missing RETURN\n");
  pass.write("RETURN\n");
  open = 0;
}

}  // namespace

void insertReturnBeforeHoldfixC(Pass& pass) {
  // "HOLDFIX_BC" does not contain "HOLDFIX_C", so the two sections never share a line.
  insertMissingReturn(pass, &RewriteState::holdStartPending, "HOLDFIX_C");
}

void insertReturnBeforeHoldfixBc(Pass& pass) {
  insertMissingReturn(pass, &RewriteState::holdTurnPending, "HOLDFIX_BC");
}

void openHoldingStart(Pass& pass) {
  if (!contains(pass.line(), "FC_N027")) return;
  pass.print("SUBPROC for holding procedure start found\n");
  pass.state().openBlock(&RewriteState::holdStartPending);
}

void openHoldingTurn(Pass& pass) {
  if (!contains(pass.line(), "FC_N023")) return;
  pass.print("SUBPROC for holding procedure turn found\n");
  pass.state().openBlock(&RewriteState::holdTurnPending);
}

}  // namespace aplpatch
