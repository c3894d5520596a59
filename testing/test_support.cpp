#include "testing/test_support.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "rules/rule_engine.h"
#include "rules/rule_table.h"

namespace aplpatch::testing {

namespace {

Rewritten run(std::string_view input, bool appendSubroutines, Start start) {
  MemorySource source{std::string(input)};
  MemorySink sink;
  RecordingConsole console;
  Engine engine(source, sink, console, lineRules(), appendedSteps(), std::move(start.state),
                start.passesDone);
  engine.rewriteLines();
  if (appendSubroutines) engine.appendSubroutines();
  engine.finish();
  return Rewritten{sink.bytes(), withoutCr(sink.bytes()), console.text(), engine.state(),
                   engine.passes()};
}

}  // namespace

Rewritten rewriteLinesOnly(std::string_view input, Start start) {
  return run(input, false, std::move(start));
}

Rewritten rewriteWhole(std::string_view input) { return run(input, true, {}); }

Start pastHeader(RewriteState state) { return {std::move(state), 3}; }

std::string appendedText(void (*step)(Pass&), RewriteState state) {
  MemorySource source{std::string()};
  MemorySink sink;
  RecordingConsole console;
  LineReader reader(source);
  LineWriter writer(sink);
  std::string line;
  std::string scratch;
  Pass pass(line, scratch, state, reader, writer, console);
  step(pass);
  writer.flush();
  return withoutCr(sink.bytes());
}

bool rewriteScript(ByteSource& source, ByteSink& sink, Console& console) {
  Engine engine(source, sink, console, lineRules(), appendedSteps());
  engine.rewriteLines();
  engine.appendSubroutines();
  return engine.finish();
}

FeatureSwitches allFeaturesOff() {
  FeatureSwitches switches;
  for (const FeatureInfo& info : featureTable()) switches.set(info.feature, false);
  return switches;
}

}  // namespace aplpatch::testing
