// Every combination of the feature switches over the golden scripts, and each feature off alone and
// all off over seeded variations of them, checked by the structure checker against the full rewrite
// of the same script: a switched-off feature may take its additions away, never break what the
// full rewrite keeps sound.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "rules/rewrite_script.h"
#include "testing/script_variations.h"
#include "testing/variant_soundness.h"
#include "testing/test_files.h"
#include "testing/test_support.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define APLPATCH_TESTS_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define APLPATCH_TESTS_UNDER_ASAN 1
#endif

namespace aplpatch {
namespace {

using Lines = std::vector<std::string>;

// Under AddressSanitizer a rewrite takes twenty to forty times as long: there the variations are the
// first fifth of the set, and the golden scripts take every third combination of switches.
#ifdef APLPATCH_TESTS_UNDER_ASAN
constexpr int kVariationsChecked = 40;
constexpr std::uint32_t kCombinationStep = 3;
#else
constexpr int kVariationsChecked = 200;
constexpr std::uint32_t kCombinationStep = 1;
#endif
constexpr int kVariations = 200;
constexpr std::uint32_t kSeed = 17;

std::string rewriteOf(std::string_view script, const FeatureSwitches& switches) {
  testing::MemorySource source{std::string(script)};
  testing::MemorySink sink;
  testing::RecordingConsole console;
  rewriteScript(source, sink, console, switches);
  return sink.bytes();
}

// The switches whose bit is set in `offBits` are off, bit i for the feature at place i of the
// table.
FeatureSwitches switchesOff(std::uint32_t offBits) {
  FeatureSwitches switches;
  for (const FeatureInfo& info : featureTable()) {
    if (offBits >> static_cast<int>(info.feature) & 1) switches.set(info.feature, false);
  }
  return switches;
}

std::string offNames(const FeatureSwitches& switches) {
  if (switches == testing::allFeaturesOff()) return "all off";
  std::string names;
  for (Feature feature : switches.switchedOff()) {
    names.append(names.empty() ? "" : ", ").append(featureName(feature));
  }
  return names;
}

// One script and its full rewrite, against which rewrites with switches are checked.
class SoundnessCheck {
 public:
  explicit SoundnessCheck(std::string script)
      : script_(std::move(script)), reference_(script_, rewriteOf(script_, {})) {}

  // Where the rewrite with `switches` is less sound than the full rewrite, one line each.
  Lines unsoundWith(const FeatureSwitches& switches) const {
    return reference_.unsoundIn(rewriteOf(script_, switches));
  }

 private:
  std::string script_;
  VariantSoundness reference_;
};

struct Script {
  const char* name;
  const char* path;  // relative to the source folder
  // The variations and switches that leave a rewrite less sound than the full one, as the test
  // describes them, where only a change of the full rewrite could help (see kScripts).
  std::vector<std::string> leftAsTheyAre;
};

void PrintTo(const Script& script, std::ostream* out) { *out << script.name; }

std::string readScript(const Script& script) {
  const std::optional<std::string> bytes =
      testing::readBytes(std::string(APLPATCH_SOURCE_DIR).append("/").append(script.path));
  EXPECT_TRUE(bytes.has_value()) << "cannot read " << script.path;
  return bytes.value_or("");
}

// The cases left as they are. In each a stray "VSPD = 5000" inside the top-of-descent block makes
// the speed-limit rule write an ELSE for an IF of the script's that is not there, and the full
// rewrite pairs that ELSE with the IF that wraps the block: one subroutine holds both, and the
// block's own ENDIF follows, so the pairing is false in meaning only, which no structure shows.
// With descent-request off the wrapping IF is gone and the ELSE stands alone. Only a change of the
// full rewrite's bytes could mend it.
const Script kScripts[] = {
    {"sample_flight", "examples/sample_flight.apl", {}},
    {"crewless_flight", "testdata/crewless_flight.apl", {}},
    {"departure_and_landing", "testdata/departure_and_landing.apl", {}},
    {"flight_section",
     "testdata/flight_section.apl",
     {"#35 (put \"VSPD = 5000\" before line 27; copied line 24 before line 36), descent-request: "
      "line 43: ELSE or ELSEIF outside an IF block below label SET_TOD_ALT;",
      "#198 (put \"VSPD = 5000\" before line 23; dropped line 32), descent-request: line 39: ELSE "
      "or ELSEIF outside an IF block below label SET_TOD_ALT;"}},
    {"holding_and_approach", "testdata/holding_and_approach.apl", {}},
};

class SwitchSoundness : public ::testing::TestWithParam<Script> {};

TEST_P(SwitchSoundness, EveryCombinationOfSwitchesLeavesTheGoldenScriptAsSoundAsItsFullRewrite) {
  const SoundnessCheck check(readScript(GetParam()));
  const std::uint32_t combinations = std::uint32_t{1} << featureTable().size();
  for (std::uint32_t off = 1; off < combinations; off += kCombinationStep) {
    const FeatureSwitches switches = switchesOff(off);
    EXPECT_EQ(check.unsoundWith(switches), Lines{}) << "off: " << offNames(switches);
  }
}

// Each feature off alone and every feature off, over every variation: no more cases than those
// left as they are, and each of those still as described.
TEST_P(SwitchSoundness, EachFeatureOffAndAllOffLeaveEveryVariationAsSoundAsItsFullRewrite) {
  const Script& script = GetParam();
  std::vector<FeatureSwitches> switchSets;
  for (const FeatureInfo& info : featureTable()) {
    switchSets.push_back(switchesOff(1u << static_cast<int>(info.feature)));
  }
  switchSets.push_back(testing::allFeaturesOff());

  const std::vector<std::string_view> texts = testing::ruleTriggerTexts();
  const std::vector<testing::ScriptVariation> variations =
      testing::scriptVariations(readScript(script), texts, kSeed, kVariations);
  Lines found;
  for (int i = 0; i < kVariationsChecked; ++i) {
    const SoundnessCheck check(variations[static_cast<std::size_t>(i)].script);
    for (const FeatureSwitches& switches : switchSets) {
      Lines unsound = check.unsoundWith(switches);
      if (unsound.empty()) continue;
      const testing::ScriptVariation& variation = variations[static_cast<std::size_t>(i)];
      std::string line = "#";
      line.append(std::to_string(i)).append(" (").append(variation.made).append("), ");
      line.append(offNames(switches)).append(":");
      for (const std::string& finding : unsound) line.append(" ").append(finding).append(";");
      found.push_back(std::move(line));
    }
  }

  Lines expected;
  for (const std::string& line : script.leftAsTheyAre) {
    if (std::stoi(line.substr(1)) < kVariationsChecked) expected.push_back(line);
  }
  std::sort(found.begin(), found.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(found, expected);
}

INSTANTIATE_TEST_SUITE_P(Scripts, SwitchSoundness, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<Script>& script) {
                           return std::string(script.param.name);
                         });

}  // namespace
}  // namespace aplpatch
