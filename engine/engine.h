#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/byte_stream.h"
#include "base/console.h"
#include "engine/line_origins.h"
#include "engine/line_reader.h"
#include "engine/line_text.h"
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
  // slower. Throws std::length_error for more than LineOrigins::kLast rules and steps together.
  BasicEngine(ByteSource& source, ByteSink& sink, Console& console, Rules rules, Rules steps,
              bool usePrefilter = true)
      : reader_(source), writer_(sink), console_(console), rules_(rules), steps_(steps) {
    if (rules.size() + steps.size() > LineOrigins::kLast) {
      throw std::length_error("an engine runs at most 255 rules and steps");
    }
    if (usePrefilter) prefilter_.emplace(rules);
    line_.reserve(1024);
    scratch_.reserve(1024);
    std::vector<const char*> names;
    for (Rules list : {rules, steps}) {
      for (const BasicRuleEntry<State>& rule : list) names.push_back(rule.name);
    }
    readOns_.nameRules(names);
    origins_.nameRules(std::move(names));
    writer_.recordOrigins(&origins_);
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
  // The writer notes origins in this engine's own table: a copy would note them in the original's.
  BasicEngine(const BasicEngine&) = delete;
  BasicEngine& operator=(const BasicEngine&) = delete;

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
        for (std::size_t i = 0; i < rules_.size(); ++i) {
          startRule(pass, i);
          scratchBefore_ = line_;
          rules_[i].run(pass);
          if (pass.ended()) break;
          if (line_.size() != scratchBefore_.size() || !sameLettersCaseAside(line_, scratchBefore_))
            pass.noteLineChanged();
        }
      }
      if (!pass.ended()) {
        writer_.write(line_, pass.lineOrigin());
      }
      lineKept_ = pass.lineKeptForNextPass();
      if (pass.inputExhausted()) break;
    }
  }

  // Appends the fixed subroutines, built partly from what the line rules captured.
  void appendSubroutines() {
    line_.clear();
    BasicPass<State> pass(line_, scratch_, state_, reader_, writer_, console_, 0, &readOns_);
    for (std::size_t i = 0; i < steps_.size(); ++i) {
      pass.setRunningRule(originOf(rules_.size() + i));
      steps_[i].run(pass);
    }
  }

  // Sends buffered output to the sink. Returns false when any write failed.
  bool finish() {
    writer_.endOrigins();
    return writer_.flush();
  }

  const State& state() const { return state_; }
  // Where rules read past lines on their own, looking for a closing line.
  const ReadOnLog& readOns() const { return readOns_; }
  // The line passes made so far; it stops growing at the largest int.
  int passes() const { return passes_; }
  // Where each line written so far came from: the rules are named as their entries name them.
  const LineOrigins& origins() const { return origins_; }
  // Hands the origins over once the rewrite is finished; nothing is noted after.
  LineOrigins takeOrigins() {
    writer_.recordOrigins(nullptr);
    return std::move(origins_);
  }

 private:
  // The origin of the line rule number `rule`, or of the appended step past the rules.
  static std::uint8_t originOf(std::size_t rule) { return static_cast<std::uint8_t>(rule + 1); }
  void startRule(BasicPass<State>& pass, std::size_t rule) { pass.setRunningRule(originOf(rule)); }

  // Runs the rules that can act on the line, noting in the pass the last that changed more than
  // the line's letter case (kept there rather than in a register across the rules' calls). Kept in
  // the loop that calls it once a line: left to itself the compiler makes it a call, which costs
  // the engine about 1 % of its speed.
  [[gnu::always_inline]] void runCandidateRules(BasicPass<State>& pass) {
    RulePrefilter<State>& filter = *prefilter_;
    filter.scan(line_, passes_);
    for (std::size_t i = filter.nextRule(0, state_); i < rules_.size();
         i = filter.nextRule(i + 1, state_)) {
      startRule(pass, i);
      rules_[i].run(pass);
      if (pass.ended()) break;
      if (filter.rescanIfChanged(line_)) pass.noteLineChanged();
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
  std::string scratchBefore_;  // without the prefilter: the line before the rule that is running
  ReadOnLog readOns_;
  LineOrigins origins_;
  int passes_ = 0;
  bool lineKept_ = false;  // the line buffer holds the next line, read ahead by a rule
};

}  // namespace aplpatch
