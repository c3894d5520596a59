#pragma once

#include "engine/pass.h"

namespace aplpatch {

// Upper-cases the line in place (ASCII letters only), so every later rule sees capitals. A
// "DESCRIPTION" line asking for "NOCREW" switches crew mode on from the next line and is blanked.
void upcaseLine(Pass& pass);

}  // namespace aplpatch
