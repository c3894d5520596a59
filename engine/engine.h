#pragma once

#include <optional>
#include <string>

#include "base/byte_stream.h"
#include "base/console.h"
#include "engine/line_reader.h"
#include "engine/line_writer.h"
#include "engine/pass.h"
#include "engine/rewrite_state.h"
#include "engine/rule_entry.h"
#include "engine/rule_prefilter.h"

namespace aplpatch {

// Rewrites one script in a single forward pass with the rules it is given: the line `rules`, in the
// order every pass runs them, and the `steps` that append subroutines after the last line. The
// driver opens and closes the streams.
class Engine {
 public:
  // Without `usePrefilter` every rule is run on every line, which must give the same output, only
  // slower.
  Engine(ByteSource& source, ByteSink& sink, Console& console, std::span<const RuleEntry> rules,
         std::span<const RuleEntry> steps, bool usePrefilter = true);
  // Starts from a prepared state and pass count instead of the initial ones: for a rewrite whose
  // rules read choices made before the first line, and for tests of rules that read what earlier
  // lines captured.
  Engine(ByteSource& source, ByteSink& sink, Console& console, std::span<const RuleEntry> rules,
         std::span<const RuleEntry> steps, RewriteState initial, int passesDone = 0,
         bool usePrefilter = true);

  // Runs every line of the input through the rule pass and writes the result.
  void rewriteLines();
  // Appends the fixed subroutines, built partly from what the line rules captured.
  void appendSubroutines();
  // Sends buffered output to the sink. Returns false when any write failed.
  bool finish();

  const RewriteState& state() const { return state_; }
  // The line passes made so far; it stops growing at the largest int.
  int passes() const { return passes_; }

 private:
  void runCandidateRules(Pass& pass);

  LineReader reader_;
  LineWriter writer_;
  Console& console_;
  std::span<const RuleEntry> rules_;
  std::span<const RuleEntry> steps_;
  std::optional<RulePrefilter> prefilter_;
  RewriteState state_;
  std::string line_;
  std::string scratch_;
  int passes_ = 0;
  bool lineKept_ = false;  // the line buffer holds the next line, read ahead by a rule
};

}  // namespace aplpatch
