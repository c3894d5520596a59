#include "rules/header/performance.h"

#include "engine/line_text.h"

namespace aplpatch {

void setFramePerformance(Pass& pass) {
  if (contains(pass.line(), kDefaultPerformance)) pass.line().assign("PERFORMANCE FRAME 3\n");
}

}  // namespace aplpatch
