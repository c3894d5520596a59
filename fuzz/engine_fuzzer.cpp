// libFuzzer entry point: the whole engine over any bytes, with every feature on and with features
// switched off as the input picks them. Beyond not crashing (the sanitizers watch every access),
// each output must have the properties every rewrite has; a fault is printed and the run aborted,
// so that libFuzzer keeps the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "rules/features.h"
#include "rules/rule_table.h"
#include "testing/rewrite_checks.h"

namespace {

using aplpatch::FeatureSwitches;
using aplpatch::testing::CheckedRewrite;

// The features that the input switches off: one bit each from its last two bytes, so that a
// mutation there changes the switches while every seed still reads as the same script.
FeatureSwitches switchesPickedBy(std::string_view input) {
  FeatureSwitches switches;
  if (input.size() < 2) return switches;
  const unsigned bits = static_cast<unsigned char>(input[input.size() - 2]) << 8 |
                        static_cast<unsigned char>(input[input.size() - 1]);
  for (const aplpatch::FeatureInfo& info : aplpatch::featureTable()) {
    if (bits >> static_cast<int>(info.feature) & 1) switches.set(info.feature, false);
  }
  return switches;
}

// The rewrite with `switches`, as the checks of every rewrite want it, `chunk` bytes per read.
CheckedRewrite rewriteWithSwitches(std::string_view input, const FeatureSwitches& switches,
                                   bool usePrefilter, std::size_t chunk) {
  const std::vector<aplpatch::RuleEntry> rules = aplpatch::lineRulesFor(switches);
  aplpatch::testing::MemorySource source(std::string(input), chunk);
  aplpatch::testing::MemorySink sink;
  aplpatch::testing::RecordingConsole console;
  aplpatch::Engine engine(source, sink, console, rules, aplpatch::appendedSteps(),
                          aplpatch::startStateFor(switches), 0, usePrefilter);
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

// The checks of every rewrite, for the rewrite with some features off: CR LF throughout, the
// appended subroutines complete and in order, and the same bytes and messages with and without the
// prefilter.
std::string switchedRewriteFault(std::string_view input, const FeatureSwitches& switches) {
  const CheckedRewrite run = rewriteWithSwitches(input, switches, true, 1 << 16);
  if (std::size_t at = aplpatch::testing::bareLineFeed(run.bytes); at != std::string_view::npos) {
    return "a line feed without its carriage return at byte " + std::to_string(at);
  }
  if (std::string fault = aplpatch::testing::appendedPartFault(input, run); !fault.empty()) {
    return fault;
  }
  const CheckedRewrite everyRule = rewriteWithSwitches(input, switches, false, 1);
  if (everyRule.bytes != run.bytes) return "the output differs without the prefilter";
  if (everyRule.console != run.console) return "the console messages differ without the prefilter";
  return "";
}

void abortOn(const std::string& fault, const char* with) {
  if (fault.empty()) return;
  std::fprintf(stderr, "rewrite fault %s: %s\n", with, fault.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  abortOn(aplpatch::testing::rewriteFault(input), "with every feature on");
  const FeatureSwitches switches = switchesPickedBy(input);
  if (!switches.allOn()) abortOn(switchedRewriteFault(input, switches), "with features off");
  return 0;
}
