#include "rules/header/declarations.h"

#include <string_view>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

constexpr std::string_view kNewDeclarations =
    "DECLARE VCHECKSDONE\n"
    "DECLARE VMAXALT\n"
    "DECLARE VDESCREQ\n"
    "DECLARE VMISSEDAPP\n"
    "DECLARE VSQUAWK\n"
    "DECLARE VSQUAWKNEU\n"
    "DECLARE VSQUAWKCNG\n"
    "DECLARE VMISSCNT\n"
    "DECLARE VLASTHDG\n"
    "DECLARE VFLYMISSEDAPP\n"
    "DECLARE VWINDSPD\n"
    "DECLARE VWINDHDG\n"
    "DECLARE VPUSHBACK\n"
    "DECLARE VLAT\n"
    "DECLARE VLON\n"
    "DECLARE VTIMER2\n"
    "DECLARE VRANDOM2\n"
    "DECLARE VCALL\n"
    "DECLARE VFIRSTCALL\n"
    "DECLARE VCRY\n"
    "DECLARE VEL_Y\n"
    "DECLARE TIME1\n"
    "DECLARE TIME2\n"
    "DECLARE ALT1\n"
    "DECLARE ALT2\n"
    "DECLARE VMAPPREASON\n";

constexpr std::string_view kInitialValues =
    "VMISSEDAPP  = 0\n"
    "VCHECKSDONE = 0\n"
    "VMAXALT     = 500000\n"
    "VDESCREQ    = 0\n"
    "VSQUAWK     = 0\n"
    "VSQUAWKCNG  = 0\n"
    "VFLYMISSEDAPP = 0\n"
    "VPUSHBACK   = 0\n"
    "VCALL       = 1\n"
    "VCRY        = 0\n";

}  // namespace

void insertDeclarations(Pass& pass) {
  RewriteState& state = pass.state();
  const bool declares = contains(pass.line(), kDeclareKeyword);
  if (declares && state.declarations == Declarations::notSeen) {
    state.declarations = Declarations::inside;
    pass.print("inserting new declarations...\n");
    pass.write(kNewDeclarations);
  } else if (!declares && state.declarations == Declarations::inside) {
    state.declarations = Declarations::done;
    pass.print("inserting new initialzations...\n");
    pass.write(kInitialValues);
  }
}

}  // namespace aplpatch
