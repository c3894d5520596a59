#include "rules/rewrite_script.h"

#include "engine/engine.h"
#include "rules/rule_table.h"

namespace aplpatch {

bool rewriteScript(ByteSource& source, ByteSink& sink, Console& console) {
  Engine engine(source, sink, console, lineRules(), appendedSteps());
  engine.rewriteLines();
  engine.appendSubroutines();
  return engine.finish();
}

}  // namespace aplpatch
