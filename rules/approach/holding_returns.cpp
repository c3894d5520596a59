#include "rules/approach/holding_returns.h"

#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

void insertMissingReturn(Pass& pass, OpenBlock block, std::string_view section) {
  OpenBlock& open = pass.state().openBlock;
  if (open != block || !contains(pass.line(), section)) return;
  pass.print("insert missing RETURN\n");
  pass.write("RETURN\n");
  open = OpenBlock::none;
}

}  // namespace

void insertReturnBeforeHoldfixC(Pass& pass) {
  // "HOLDFIX_BC" does not contain "HOLDFIX_C", so the two sections never share a line.
  insertMissingReturn(pass, OpenBlock::holdingStart, kHoldfixCLabel);
}

void insertReturnBeforeHoldfixBc(Pass& pass) {
  insertMissingReturn(pass, OpenBlock::holdingTurn, kHoldfixBcLabel);
}

void openHoldingStart(Pass& pass) {
  if (!contains(pass.line(), kHoldingStartCall)) return;
  pass.print("SUBPROC for holding procedure start found\n");
  pass.state().openBlock = OpenBlock::holdingStart;
}

void openHoldingTurn(Pass& pass) {
  if (!contains(pass.line(), kHoldingTurnCall)) return;
  pass.print("SUBPROC for holding procedure turn found\n");
  pass.state().openBlock = OpenBlock::holdingTurn;
}

}  // namespace aplpatch
