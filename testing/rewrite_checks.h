#pragma once

// What every rewrite must look like, whatever the input: the fuzzer checks it on every input it
// makes up, and the tests of hostile inputs on theirs.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/line_text.h"
#include "rules/features.h"
#include "rules/rule_engine.h"
#include "rules/rule_table.h"
#include "testing/test_support.h"

namespace aplpatch::testing {

struct CheckedRewrite {
  std::string bytes;            // the whole output
  std::string console;          // the rules' messages
  std::size_t linesEnd = 0;     // where the appended subroutines begin in `bytes`
  bool autopilotSeen = false;   // the line pass saw the script's own autopilot subroutine
};

// Runs the whole engine over `input` with the features that `switches` leaves on, served `chunk`
// bytes per read, and notes where the line pass ended.
inline CheckedRewrite rewriteForChecks(std::string_view input, bool usePrefilter, std::size_t chunk,
                                       const FeatureSwitches& switches = {}) {
  // All on, the standard table itself, as a run uses it.
  std::vector<RuleEntry> switched;
  std::span<const RuleEntry> rules = lineRules();
  if (!switches.allOn()) {
    switched = lineRulesFor(switches);
    rules = switched;
  }
  MemorySource source(std::string(input), chunk);
  MemorySink sink;
  RecordingConsole console;
  Engine engine(source, sink, console, rules, appendedSteps(), startStateFor(switches), 0, usePrefilter);
  engine.rewriteLines();
  engine.finish();
  CheckedRewrite run;
  run.linesEnd = sink.bytes().size();
  run.autopilotSeen = engine.state().hasAutopilotSub;
  engine.appendSubroutines();
  engine.finish();
  run.bytes = sink.bytes();
  run.console = console.text();
  return run;
}

// The position of the first bare LF (one without a CR before it), or npos.
inline std::size_t bareLineFeed(std::string_view bytes) {
  for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) {
    if (at == 0 || bytes[at - 1] != '\r') return at;
  }
  return std::string_view::npos;
}

// The label lines that open the appended subroutines after the autopilot stub, in their order.
inline constexpr std::array<std::string_view, 7> kAppendedLabels = {
    "REQ_DESCENT:\r\n",    "SET_XPNDR_EXT:\r\n", "SET_XPNDR_AUTOPILOT_EXT:\r\n", "TEST_XPNDR_EXT:\r\n",
    "PLAY_WINDSPD:\r\n",   "COMPUTE_VELOCITY_Y:\r\n", "MISSED_APP_KEY:\r\n"};
inline constexpr std::string_view kAutopilotLabel = "AUTOPILOT:\r\n";

// Where `label` next stands at the start of a line of `text`, from `from` on; npos if nowhere.
inline std::size_t findLabelLine(std::string_view text, std::string_view label, std::size_t from) {
  for (std::size_t at = text.find(label, from); at != std::string_view::npos; at = text.find(label, at + 1)) {
    if (at == 0 || text[at - 1] == '\n') return at;
  }
  return std::string_view::npos;
}

inline bool containsIgnoringCase(std::string_view text, std::string_view capitals) {
  std::string upper(text);
  upcaseAscii(upper);
  return upper.find(capitals) != std::string::npos;
}

// What is wrong with the appended part of a rewrite of `input`; empty when nothing is.
inline std::string appendedPartFault(std::string_view input, const CheckedRewrite& run) {
  std::string_view lines = std::string_view(run.bytes).substr(0, run.linesEnd);
  std::string_view tail = std::string_view(run.bytes).substr(run.linesEnd);
  if (!lines.empty() && lines.back() != '\n') return "the rewritten lines do not end with a line end";

  const bool stub = tail.substr(0, kAutopilotLabel.size()) == kAutopilotLabel;
  if (stub && run.autopilotSeen) return "an autopilot stub although the script has its own";
  if (!stub && (!run.autopilotSeen || !containsIgnoringCase(input, "AUTOPILOT:")))
    return "no autopilot stub although the script has no autopilot subroutine";

  std::size_t at = findLabelLine(tail, kAppendedLabels[0], 0);
  if (at == std::string_view::npos || tail.substr(0, at) != (stub ? "AUTOPILOT:\r\nRETURN\r\n" : ""))
    return "the descent request subroutine does not follow the lines (and the stub)";
  for (std::string_view label : kAppendedLabels) {
    at = findLabelLine(tail, label, at);
    if (at == std::string_view::npos) return "missing or out of order: " + std::string(label);
  }
  std::string_view last = tail.substr(at);
  for (std::string_view label : kAppendedLabels) {
    if (findLabelLine(last, label, 1) != std::string_view::npos)
      return "a subroutine label after the missed-approach key subroutine: " + std::string(label);
  }
  if (last.substr(last.size() - 2) != "\r\n") return "the output does not end with a line end";
  return "";
}

// Every property of the rewrite of `input` with the features that `switches` leaves on, checked:
// output in CR LF throughout, the appended subroutines complete and in their order at the end, and
// the same bytes and messages whether the rule prefilter is used or not and however the input
// arrives. Returns the first fault found, or an empty text.
inline std::string rewriteFault(std::string_view input, const FeatureSwitches& switches = {}) {
  const CheckedRewrite run = rewriteForChecks(input, true, 1 << 16, switches);
  if (std::size_t at = bareLineFeed(run.bytes); at != std::string_view::npos)
    return "a line feed without its carriage return at byte " + std::to_string(at);
  if (std::string fault = appendedPartFault(input, run); !fault.empty()) return fault;

  // Byte by byte, so that every CR LF pair of the input is also split between two reads.
  const CheckedRewrite everyRule = rewriteForChecks(input, false, 1, switches);
  if (everyRule.bytes != run.bytes) return "the output differs without the prefilter";
  if (everyRule.console != run.console) return "the console messages differ without the prefilter";
  return "";
}

}  // namespace aplpatch::testing
