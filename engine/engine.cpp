#include "engine/engine.h"

#include <limits>
#include <utility>

#include "engine/pass.h"

namespace aplpatch {

Engine::Engine(ByteSource& source, ByteSink& sink, Console& console, std::span<const RuleEntry> rules,
               std::span<const RuleEntry> steps, bool usePrefilter)
    : reader_(source), writer_(sink), console_(console), rules_(rules), steps_(steps) {
  if (usePrefilter) prefilter_.emplace(rules);
  line_.reserve(1024);
  scratch_.reserve(1024);
}

Engine::Engine(ByteSource& source, ByteSink& sink, Console& console, std::span<const RuleEntry> rules,
               std::span<const RuleEntry> steps, RewriteState initial, int passesDone,
               bool usePrefilter)
    : Engine(source, sink, console, rules, steps, usePrefilter) {
  state_ = std::move(initial);
  passes_ = passesDone;
}

void Engine::rewriteLines() {
  for (;;) {
    if (!lineKept_ && !reader_.readLine(line_)) break;
    // The counter matters only for the first passes; past its limit it stays there.
    if (passes_ < std::numeric_limits<int>::max()) ++passes_;

    Pass pass(line_, scratch_, state_, reader_, writer_, console_, passes_);
    if (prefilter_) {
      runCandidateRules(pass);
    } else {
      for (const RuleEntry& rule : rules_) {
        rule.run(pass);
        if (pass.ended()) break;
      }
    }
    if (!pass.ended()) writer_.write(line_);
    lineKept_ = pass.lineKeptForNextPass();
    if (pass.inputExhausted()) break;
  }
}

void Engine::runCandidateRules(Pass& pass) {
  RulePrefilter& filter = *prefilter_;
  filter.scan(line_, passes_);
  for (std::size_t i = filter.nextRule(0, state_); i < rules_.size();
       i = filter.nextRule(i + 1, state_)) {
    rules_[i].run(pass);
    if (pass.ended()) return;
    filter.rescanIfChanged(line_);
  }
}

void Engine::appendSubroutines() {
  line_.clear();
  Pass pass(line_, scratch_, state_, reader_, writer_, console_);
  for (const RuleEntry& step : steps_) step.run(pass);
}

bool Engine::finish() { return writer_.flush(); }

}  // namespace aplpatch
