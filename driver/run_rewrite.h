#pragma once

#include "engine/byte_stream.h"
#include "engine/console.h"

namespace aplpatch {

// The rewrite of a script as a run puts it in place: read from `script`, written to `out`, the rules'
// messages on `console`. A preview shows the same bytes, so both go through here. Returns false when
// a write to `out` failed.
bool rewriteForRun(ByteSource& script, ByteSink& out, Console& console);

}  // namespace aplpatch
