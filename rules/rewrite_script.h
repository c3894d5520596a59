#pragma once

#include "base/byte_stream.h"
#include "base/console.h"
#include "engine/line_origins.h"
#include "engine/read_on.h"
#include "rules/rewrite_state.h"
#include "rules/features.h"

namespace aplpatch {

// What a rewrite with switches hands back: whether it was written, and the facts of the flight's
// briefing (see rules/briefing.h).
struct RewriteReport {
  bool written = false;      // false when a write to the sink failed
  FeatureSwitches switches;  // the switches the rewrite ran with
  Additions added;           // what the rules added to this script
  ReadOnLog readOns;         // where rules read past lines on their own
  LineOrigins origins;       // which rule wrote or changed each line of the rewrite
};

// The whole rewrite with the standard rule table, every line and then the appended subroutines,
// with only the features that `switches` leaves on.
RewriteReport rewriteScript(ByteSource& source, ByteSink& sink, Console& console,
                            const FeatureSwitches& switches);

}  // namespace aplpatch
