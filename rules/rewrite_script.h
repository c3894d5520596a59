#pragma once

#include "base/byte_stream.h"
#include "base/console.h"

namespace aplpatch {

// The whole rewrite with the standard rule table: every line, then the appended subroutines.
// Returns false when a write to `sink` failed (the sink knows why).
bool rewriteScript(ByteSource& source, ByteSink& sink, Console& console);

}  // namespace aplpatch
