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
  if (!switches.allOn()) abortOn(aplpatch::testing::rewriteFault(input, switches), "with features off");
  return 0;
}
