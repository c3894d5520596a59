#include "rules/rewrite_script.h"

#include <utility>
#include <vector>

#include "rules/rule_engine.h"
#include "rules/rule_table.h"

namespace aplpatch {

RewriteReport rewriteScript(ByteSource& source, ByteSink& sink, Console& console,
                            const FeatureSwitches& switches) {
  // All on, the standard table itself: nothing to build, nothing that could differ.
  std::vector<RuleEntry> switched;
  std::span<const RuleEntry> rules = lineRules();
  if (!switches.allOn()) {
    switched = lineRulesFor(switches);
    rules = switched;
  }
  Engine engine(source, sink, console, rules, appendedSteps(), startStateFor(switches));
  engine.rewriteLines();
  engine.appendSubroutines();
  RewriteReport report;
  report.written = engine.finish();
  report.switches = switches;
  report.added = engine.state().added;
  report.readOns = engine.readOns();
  report.origins = engine.takeOrigins();
  return report;
}

}  // namespace aplpatch
