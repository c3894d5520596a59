#include "driver/run_rewrite.h"

#include "engine/engine.h"

namespace aplpatch {

bool rewriteForRun(ByteSource& script, ByteSink& out, Console& console) {
  return rewriteScript(script, out, console);
}

}  // namespace aplpatch
