#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "base/byte_stream.h"
#include "base/console.h"
#include "rules/features.h"
#include "rules/rewrite_state.h"
#include "rules/rule_pass.h"
#include "testing/memory_streams.h"

namespace aplpatch::testing {

struct Rewritten {
  std::string bytes;    // the output exactly as written (CR LF line ends)
  std::string text;     // the output with every CR LF turned back into LF, for readable expectations
  std::string console;  // the rules' console messages
  RewriteState state;   // the shared state after the run
  int passes = 0;       // the line passes the engine made, those counted before the run included
};

// Where a run starts: a prepared state (for instance with a sound root or a message language) and
// the passes counted as made already.
struct Start {
  Start(RewriteState initial = {}, int passes = 0) : state(std::move(initial)), passesDone(passes) {}
  RewriteState state;
  int passesDone;
};

// Runs the line pass of the standard rules over `input` (raw bytes; LF line ends read as they are),
// without the appended subroutines.
Rewritten rewriteLinesOnly(std::string_view input, Start start = {});

// Runs the whole engine over `input`: the line pass and the appended subroutines.
Rewritten rewriteWhole(std::string_view input);

// `state` as it stands once the script's first lines are through, so that the patch description
// line does not appear among a test's lines.
Start pastHeader(RewriteState state = {});

// Runs one appended-subroutine step on `state` and returns what it writes (LF line ends).
std::string appendedText(void (*step)(Pass&), RewriteState state);

// The whole rewrite with the standard rule table and the engine's own start, as the rule table
// stands without any switches; false when a write to `sink` failed.
bool rewriteScript(ByteSource& source, ByteSink& sink, Console& console);

// Every feature off: the rewrite then makes only its repairs.
FeatureSwitches allFeaturesOff();


}  // namespace aplpatch::testing
