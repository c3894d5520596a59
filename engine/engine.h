#pragma once

#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "base/byte_stream.h"
#include "base/console.h"
#include "engine/line_reader.h"
#include "engine/line_writer.h"
#include "engine/pass.h"
#include "engine/rule_entry.h"
#include "engine/rule_prefilter.h"

namespace aplpatch {

// Rewrites one script in a single forward pass with the rules it is given: the line `rules`, in the
// order every pass runs them, and the `steps` that append subroutines after the last line. The rules
// share one `State`, of a type they define (default-constructible and standard-layout, so that
// their triggers can test its members); the engine only carries it. The driver opens and closes the
// streams.
template <typename State>
class BasicEngine {
 public:
  using Rules = std::span<const BasicRuleEntry<State>>;

  // Without `usePrefilter` every rule is run on every line, which must give the same output, only
  // slower.
  BasicEngine(ByteSource& source, ByteSink& sink, Console& console, Rules rules, Rules steps,
              bool usePrefilter = true)
      : reader_(source), writer_(sink), console_(console), rules_(rules), steps_(steps) {
    if (usePrefilter) prefilter_.emplace(rules);
    line_.reserve(1024);
    scratch_.reserve(1024);
  }
  // Starts from a prepared state and pass count instead of the initial ones: for a rewrite whose
  // rules read choices made before the first line, and for tests of rules that read what earlier
  // lines captured.
  BasicEngine(ByteSource& source, ByteSink& sink, Console& console, Rules rules, Rules steps,
              State initial, int passesDone = 0, bool usePrefilter = true)
      : BasicEngine(source, sink, console, rules, steps, usePrefilter) {
    state_ = std::move(initial);
    passes_ = passesDone;
  }

  // Runs every line of the input through the rule pass and writes the result.
  void rewriteLines() {
    for (;;) {
      if (!lineKept_ && !reader_.readLine(line_)) break;
      // The counter matters only for the first passes; past its limit it stays there.
      if (passes_ < std::numeric_limits<int>::max()) ++passes_;

      BasicPass<State> pass(line_, scratch_, state_, reader_, writer_, console_, passes_, &readOns_);
      if (prefilter_) {
        runCandidateRules(pass);
      } else {
        for (const BasicRuleEntry<State>& rule : rules_) {
          pass.setRunningRule(rule.name);
          rule.run(pass);
          if (pass.ended()) break;
        }
      }
      if (!pass.ended()) writer_.write(line_);
      lineKept_ = pass.lineKeptForNextPass();
      if (pass.inputExhausted()) break;
    }
  }

  // Appends the fixed subroutines, built partly from what the line rules captured.
  void appendSubroutines() {
    line_.clear();
    BasicPass<State> pass(line_, scratch_, state_, reader_, writer_, console_, 0, &readOns_);
    for (const BasicRuleEntry<State>& step : steps_) {
      pass.setRunningRule(step.name);
      step.run(pass);
    }
  }

  // Sends buffered output to the sink. Returns false when any write failed.
  bool finish() { return writer_.flush(); }

  const State& state() const { return state_; }
  // Where rules read past lines on their own, looking for a closing line.
  const ReadOnLog& readOns() const { return readOns_; }
  // The line passes made so far; it stops growing at the largest int.
  int passes() const { return passes_; }

 private:
  void runCandidateRules(BasicPass<State>& pass) {
    RulePrefilter<State>& filter = *prefilter_;
    filter.scan(line_, passes_);
    for (std::size_t i = filter.nextRule(0, state_); i < rules_.size();
         i = filter.nextRule(i + 1, state_)) {
      pass.setRunningRule(rules_[i].name);
      rules_[i].run(pass);
      if (pass.ended()) return;
      filter.rescanIfChanged(line_);
    }
  }

  LineReader reader_;
  LineWriter writer_;
  Console& console_;
  Rules rules_;
  Rules steps_;
  std::optional<RulePrefilter<State>> prefilter_;
  State state_{};
  std::string line_;
  std::string scratch_;
  ReadOnLog readOns_;
  int passes_ = 0;
  bool lineKept_ = false;  // the line buffer holds the next line, read ahead by a rule
};

}  // namespace aplpatch
