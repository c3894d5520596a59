#pragma once

#include "base/byte_stream.h"
#include "base/console.h"
#include "rules/features.h"
#include "rules/rewrite_script.h"
#include "structure/structure_check.h"

namespace aplpatch {

// The rewrite of a script as a run puts it in place: read from `script`, written to `out`, the rules'
// messages on `console`, with the features that `switches` leaves on. A preview shows the same
// bytes, so both go through here. The first Ctrl-Z ends the script, as it does for a compiler that
// reads it in text mode; when bytes follow it, one console line after the rules' messages says how
// many are left out. The report's `written` is false when a write to `out` failed. With `structure`,
// the check watches the script as the rewrite reads it (up to the Ctrl-Z) and the rewrite as it is
// written, changing no byte.
RewriteReport rewriteForRun(ByteSource& script, ByteSink& out, Console& console, const FeatureSwitches& switches,
                            StructureCheck* structure = nullptr);

}  // namespace aplpatch
