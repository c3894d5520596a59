#pragma once

#include "engine/pass.h"

namespace aplpatch {

// Replaces a line holding "PERFORMANCE DEFAULT", whatever else it holds, by the frame-rate setting.
void setFramePerformance(Pass& pass);

}  // namespace aplpatch
