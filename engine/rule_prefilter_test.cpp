#include "engine/rule_prefilter.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/line_text.h"
#include "testing/memory_streams.h"

// The prefilter over a state and rules of the tests' own: it finds the texts wherever they stand,
// makes the state tests when each rule's turn comes, and never costs a rule a line it would act on.

namespace aplpatch {
namespace {

using testing::MemorySink;
using testing::MemorySource;
using testing::RecordingConsole;

enum class Mode : std::uint8_t { idle, capturing, done };

// A state as rules define theirs: flags, a one-byte choice, a number and a text.
struct TestState {
  bool crewless = false;
  bool quiet = false;
  Mode mode = Mode::idle;
  int count = 0;
  std::string captured;
};

using TestPass = BasicPass<TestState>;
using TestRule = BasicRuleEntry<TestState>;
using TestEngine = BasicEngine<TestState>;
#define FIELD(member) STATE_FIELD(TestState, member)

void doNothing(TestPass&) {}

bool visits(const RulePrefilter<TestState>& filter, std::size_t rule, const TestState& state) {
  std::size_t next = filter.nextRule(0, state);
  while (next < rule) next = filter.nextRule(next + 1, state);
  return next == rule;
}

TEST(RulePrefilter, FindsATextAnywhereInALineInAnyLetterCase) {
  static constexpr TestRule kRules[] = {
      {"shortest", doNothing, onText("PLAY\"")},
      {"longer", doNothing, onText("WAIT_VOR")},
  };
  RulePrefilter<TestState> filter(kRules);
  const TestState state;
  for (std::string_view text : {"PLAY\"", "play\"", "WAIT_VOR", "wait_vor", "WaIt_VoR"}) {
    const std::size_t rule = text.size() == 5 ? 0 : 1;
    for (std::size_t before = 0; before < 9; ++before) {
      for (std::string_view after : {"", "X", "\n", " Y\n", "ZZZZZZZZZ\n"}) {
        const std::string line = std::string(before, ' ') + std::string(text) + std::string(after);
        filter.scan(line);
        EXPECT_TRUE(visits(filter, rule, state)) << "\"" << line << "\"";
      }
    }
  }
  // And it does pass over the rules on lines with nothing like their texts.
  for (std::string_view line : {"", "P", "PLA\n", " RETURN\n", " GOSUB PLAYCALL\n", "WAIT 1\n"}) {
    filter.scan(line);
    EXPECT_FALSE(visits(filter, 0, state)) << line;
    EXPECT_FALSE(visits(filter, 1, state)) << line;
  }
}

TEST(RulePrefilter, StateTestsWidenAndNarrowWhatATextAllows) {
  static constexpr TestRule kRules[] = {
      {"whileCapturing", doNothing,
       onText("CENTER_").orAnyLineWhile(isEqual(FIELD(mode), Mode::capturing))},
      {"onlyInCrewMode", doNothing, onText("BRIEF").andOnlyWhile(isSet(FIELD(crewless)))},
      {"everyLineInCrewMode", doNothing,
       BasicTrigger<TestState>{}.andOnlyWhile(isSet(FIELD(crewless)))},
      {"onTheSecondPass", doNothing, onPass(2)},
      {"whileTextEmpty", doNothing, onText("KEEPER").andOnlyWhile(isEmpty(&TestState::captured))},
      {"whileCapturingInCrewMode", doNothing,
       onText("CENTER_")
           .orAnyLineWhile(isEqual(FIELD(mode), Mode::capturing))
           .andOnlyWhile(isSet(FIELD(crewless)))},
  };
  RulePrefilter<TestState> filter(kRules);
  TestState idle;
  TestState busy;
  busy.mode = Mode::capturing;
  busy.crewless = true;
  busy.captured = "X";
  TestState capturing;
  capturing.mode = Mode::capturing;
  TestState crewless;
  crewless.crewless = true;
  struct Case {
    std::string_view line;
    int pass;
    const TestState& state;
    bool whileCapturing, onlyInCrewMode, everyLineInCrewMode, onTheSecondPass, whileTextEmpty,
        whileCapturingInCrewMode;
  };
  const Case cases[] = {
      {"X\n", 1, idle, false, false, false, false, false, false},
      {"X\n", 1, busy, true, false, true, false, false, true},
      {"X\n", 1, capturing, true, false, false, false, false, false},
      {"X\n", 2, idle, false, false, false, true, false, false},
      {"CENTER_A:\n", 3, idle, true, false, false, false, false, false},
      {"CENTER_A:\n", 3, crewless, true, false, true, false, false, true},
      {"BRIEF\n", 1, idle, false, false, false, false, false, false},
      {"BRIEF\n", 1, busy, true, true, true, false, false, true},
      {"KEEPER\n", 1, idle, false, false, false, false, true, false},
      {"KEEPER\n", 2, busy, true, false, true, true, false, true},
  };
  for (const Case& c : cases) {
    filter.scan(c.line, c.pass);
    EXPECT_EQ(visits(filter, 0, c.state), c.whileCapturing) << c.line;
    EXPECT_EQ(visits(filter, 1, c.state), c.onlyInCrewMode) << c.line;
    EXPECT_EQ(visits(filter, 2, c.state), c.everyLineInCrewMode) << c.line;
    EXPECT_EQ(visits(filter, 3, c.state), c.onTheSecondPass) << c.line << " pass " << c.pass;
    EXPECT_EQ(visits(filter, 4, c.state), c.whileTextEmpty) << c.line;
    EXPECT_EQ(visits(filter, 5, c.state), c.whileCapturingInCrewMode) << c.line;
  }
}

TEST(RulePrefilter, TakesNoMoreRulesThanItCanTell) {
  std::vector<TestRule> rules(LineScan::kMaxRules + 1, TestRule{"doNothing", doNothing});
  EXPECT_THROW(RulePrefilter<TestState>{rules}, std::length_error);
  rules.pop_back();
  EXPECT_NO_THROW(RulePrefilter<TestState>{rules});
}

// A small rule set in which each rule changes what later rules see: the line, the state, or both.
// "CENTER_" starts a capture that takes every line up to "DONE" into the text; "NOCREW" sets the
// flag under which "BRIEF" lines go; "FROM" becomes "MARKER", which a later rule tags; and every
// rule counts what it did, so that a rule passed over shows in the state.
void startCapture(TestPass& pass) {
  if (contains(pass.line(), "CENTER_")) pass.state().mode = Mode::capturing;
}
void captureLine(TestPass& pass) {
  TestState& state = pass.state();
  if (state.mode != Mode::capturing) return;
  if (contains(pass.line(), "DONE")) state.mode = Mode::done;
  state.captured.append(pass.line());
  pass.endPass();
}
void noteCrew(TestPass& pass) {
  if (contains(pass.line(), "NOCREW")) pass.state().crewless = true;
}
void dropBriefing(TestPass& pass) {
  if (!pass.state().crewless || !contains(pass.line(), "BRIEF")) return;
  ++pass.state().count;
  pass.endPass();
}
void writeMarker(TestPass& pass) {
  if (contains(pass.line(), "FROM")) pass.line().assign("MARKER\n");
}
void tagMarker(TestPass& pass) {
  if (!contains(pass.line(), "MARKER")) return;
  ++pass.state().count;
  pass.write("TAGGED\n");
}
void upcase(TestPass& pass) { upcaseAscii(pass.line()); }
void headOnFirstPass(TestPass& pass) {
  if (pass.number() == 1) pass.write("HEAD\n");
}

constexpr TestRule kTestRules[] = {
    {"captureLine", captureLine, anyLineWhile(isEqual(FIELD(mode), Mode::capturing))},
    {"startCapture", startCapture, onText("CENTER_")},
    {"upcase", upcase},
    {"headOnFirstPass", headOnFirstPass, onPass(1)},
    {"noteCrew", noteCrew, onText("NOCREW")},
    {"dropBriefing", dropBriefing, onText("BRIEF").andOnlyWhile(isSet(FIELD(crewless)))},
    {"writeMarker", writeMarker, onText("FROM!")},
    {"tagMarker", tagMarker, onText("MARKER")},
};

struct Outcome {
  std::string bytes;
  TestState state;
};

Outcome rewrite(std::string_view input, bool usePrefilter) {
  MemorySource source{std::string(input), 7};
  MemorySink sink;
  RecordingConsole console;
  TestEngine engine(source, sink, console, kTestRules, {}, usePrefilter);
  engine.rewriteLines();
  engine.finish();
  return {testing::withoutCr(sink.bytes()), engine.state()};
}

TEST(RulePrefilter, TextBroughtInByAnEarlierRuleReachesTheLaterRule) {
  EXPECT_EQ(rewrite("A\nFROM!\nB\n", true).bytes, "HEAD\nA\nTAGGED\nMARKER\nB\n");
}

TEST(RulePrefilter, RandomScriptsRewriteAsWithEveryRuleOnEveryLine) {
  static constexpr std::string_view kPieces[] = {
      "CENTER_", "center_a", "DONE", "NOCREW", "BRIEF", "brief", "FROM!", "from!", "MARKER",
      "X", " ", "WAIT 1", "PLAY\"", "\r"};
  std::mt19937 random(20240611);
  for (int i = 0; i < 2000; ++i) {
    std::string script;
    const int lines = 1 + static_cast<int>(random() % 12);
    for (int l = 0; l < lines; ++l) {
      const int pieces = 1 + static_cast<int>(random() % 3);
      for (int p = 0; p < pieces; ++p) script += kPieces[random() % std::size(kPieces)];
      script += '\n';
    }
    const Outcome everyRule = rewrite(script, false);
    const Outcome filtered = rewrite(script, true);
    ASSERT_EQ(filtered.bytes, everyRule.bytes) << script;
    ASSERT_EQ(filtered.state.count, everyRule.state.count) << script;
    ASSERT_EQ(filtered.state.captured, everyRule.state.captured) << script;
    ASSERT_EQ(filtered.state.crewless, everyRule.state.crewless) << script;
  }
}

TEST(StateTest, RangesOfIntegersFlagsChoicesAndEmptyTexts) {
  TestState state;
  struct Case {
    StateTest<TestState> test;
    int value;
    bool holds;
  };
  const Case cases[] = {
      {isSet(FIELD(count)), 0, false},
      {isSet(FIELD(count)), 1, true},
      {isSet(FIELD(count)), -1, true},
      {isSet(FIELD(count)), INT_MIN, true},
      {isSet(FIELD(count)), INT_MAX, true},
      {isAbove(FIELD(count), 0), 0, false},
      {isAbove(FIELD(count), 0), -5, false},
      {isAbove(FIELD(count), 0), 1, true},
      {isAbove(FIELD(count), 0), INT_MAX, true},
      {isBelow(FIELD(count), 0), 0, false},
      {isBelow(FIELD(count), 0), -1, true},
      {isBelow(FIELD(count), 0), INT_MIN, true},
      {isEqual(FIELD(count), 3), 3, true},
      {isEqual(FIELD(count), 3), 2, false},
      {isEqual(FIELD(count), 3), 4, false},
  };
  for (const Case& c : cases) {
    state.count = c.value;
    EXPECT_EQ(c.test.holds(state), c.holds) << "range from " << static_cast<int>(c.test.low) << " over "
                                            << c.test.span << ", value " << c.value;
  }
  // Flags and one-byte choices, read beside their neighbours without taking them in.
  state.quiet = true;
  state.crewless = false;
  EXPECT_FALSE(isSet(FIELD(crewless)).holds(state));
  state.crewless = true;
  EXPECT_TRUE(isSet(FIELD(crewless)).holds(state));
  state.mode = Mode::done;
  EXPECT_TRUE(isEqual(FIELD(mode), Mode::done).holds(state));
  EXPECT_FALSE(isEqual(FIELD(mode), Mode::capturing).holds(state));
  EXPECT_TRUE(isNot(FIELD(mode), Mode::idle).holds(state));
  state.mode = Mode::idle;
  EXPECT_FALSE(isNot(FIELD(mode), Mode::idle).holds(state));
  EXPECT_TRUE(isEmpty(&TestState::captured).holds(state));
  state.captured = "PLAY\"";
  EXPECT_FALSE(isEmpty(&TestState::captured).holds(state));
}

#undef FIELD

}  // namespace
}  // namespace aplpatch
