#pragma once

#include <optional>
#include <string>

#include "engine/byte_stream.h"
#include "engine/console.h"
#include "engine/line_reader.h"
#include "engine/line_writer.h"
#include "engine/pass.h"
#include "engine/rewrite_state.h"
#include "engine/rule_order.h"
#include "engine/rule_prefilter.h"

namespace aplpatch {

// Rewrites one script in a single forward pass. The driver opens and closes the streams.
class Engine {
 public:
  Engine(ByteSource& source, ByteSink& sink, Console& console);
  // The same with other rule tables, for tests of the loop itself. Without `usePrefilter` every rule
  // is run on every line, which must give the same output, only slower.
  Engine(ByteSource& source, ByteSink& sink, Console& console, std::span<const RuleEntry> rules,
         std::span<const RuleEntry> steps, bool usePrefilter = true);
  // Starts from a prepared state instead of the initial one, for tests of rules that read what
  // earlier lines captured.
  Engine(ByteSource& source, ByteSink& sink, Console& console, RewriteState initial);

  // Runs every line of the input through the rule pass and writes the result.
  void rewriteLines();
  // Appends the fixed subroutines, built partly from what the line rules captured.
  void appendSubroutines();
  // Sends buffered output to the sink. Returns false when any write failed.
  bool finish();

  const RewriteState& state() const { return state_; }

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
};

// The whole rewrite: every line, then the appended subroutines. Returns false when a write to `sink`
// failed (the sink knows why).
bool rewriteScript(ByteSource& source, ByteSink& sink, Console& console);

}  // namespace aplpatch
