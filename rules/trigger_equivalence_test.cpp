#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/line_text.h"
#include "engine/rule_prefilter.h"
#include "rules/rule_engine.h"
#include "rules/rule_table.h"
#include "testing/test_support.h"

// The prefilter may only ever save work: over every input, the engine that passes over the rules it
// rules out must write the same bytes, print the same messages, name the same origin for every line
// and end in the same state as the engine that runs every rule on every line.

namespace aplpatch {
namespace {

using testing::MemorySink;
using testing::MemorySource;
using testing::RecordingConsole;

std::string inCapitals(std::string_view text) {
  std::string capitals(text);
  upcaseAscii(capitals);
  return capitals;
}

// The trigger's own terms, tested directly: the engine's prefilter may let more rules through,
// never fewer.
bool triggerHolds(const Trigger& trigger, std::string_view line, const RewriteState& state,
                  int passNumber) {
  if (trigger.onlyWhile.given() && !trigger.onlyWhile.holds(state)) return false;
  if (trigger.everyLine()) return true;
  if (trigger.anyLineWhile.given() && trigger.anyLineWhile.holds(state)) return true;
  if (trigger.onPass != 0 && trigger.onPass == passNumber) return true;
  const std::string capitals = inCapitals(line);
  for (std::string_view text : trigger.texts) {
    if (!text.empty() && contains(capitals, inCapitals(text))) return true;
  }
  return false;
}

// A rule table whose every rule runs only when its trigger, tested directly, holds; run without the
// prefilter it shows what the triggers alone do. The entries call the rules of `triggeredTable()`.
std::vector<RuleEntry>& triggeredTable() {
  static std::vector<RuleEntry> table;
  return table;
}

template <std::size_t I>
void runWhenTriggered(Pass& pass) {
  const RuleEntry& rule = triggeredTable()[I];
  if (triggerHolds(rule.trigger, pass.line(), pass.state(), pass.number())) rule.run(pass);
}

template <std::size_t... I>
constexpr std::array<RuleFunction, sizeof...(I)> triggeredRunners(std::index_sequence<I...>) {
  return {runWhenTriggered<I>...};
}

// The rules of `rules`, each behind its trigger as tested directly.
std::vector<RuleEntry> behindTheirTriggers(std::span<const RuleEntry> rules) {
  static constexpr auto kRunners =
      triggeredRunners(std::make_index_sequence<LineScan::kMaxRules>{});
  triggeredTable().assign(rules.begin(), rules.end());
  std::vector<RuleEntry> table;
  for (std::size_t i = 0; i < rules.size(); ++i) table.push_back({rules[i].name, kRunners[i]});
  return table;
}

struct Outcome {
  std::string bytes;
  std::string console;
  RewriteState state;
  LineOrigins origins;
};

Outcome rewrite(std::string_view input, std::span<const RuleEntry> rules, bool usePrefilter,
                const RewriteState& start = {}) {
  // Small reads, so that lines also straddle the reader's refills.
  MemorySource source(std::string(input), 61);
  MemorySink sink;
  RecordingConsole console;
  Engine engine(source, sink, console, rules, appendedSteps(), start, 0, usePrefilter);
  engine.rewriteLines();
  engine.appendSubroutines();
  engine.finish();
  return {sink.bytes(), console.text(), engine.state(), engine.takeOrigins()};
}

bool sameOutcome(const Outcome& a, const Outcome& b) {
  return a.bytes == b.bytes && a.console == b.console && a.state == b.state && a.origins == b.origins;
}

std::string_view firstDifference(const Outcome& a, const Outcome& b) {
  return a.bytes != b.bytes       ? "output"
         : a.console != b.console ? "console text"
         : a.state != b.state     ? "final state"
                                  : "origins of the lines";
}

// Rewrites each input three ways: every rule on every line; every rule behind its trigger, tested
// directly; and the engine as it runs, with its prefilter. All three must agree. Reports at most a
// few differing inputs per test, each in full. By default with the standard table, or with the
// table and start of a rewrite with some features switched off.
class Comparison {
 public:
  Comparison() : Comparison({lineRules().begin(), lineRules().end()}, {}) {}
  Comparison(std::vector<RuleEntry> rules, RewriteState start)
      : rules_(std::move(rules)), start_(std::move(start)),
        triggered_(behindTheirTriggers(rules_)) {}

  void check(std::string_view input, std::string_view what) {
    const Outcome everyRule = rewrite(input, rules_, false, start_);
    const Outcome triggered = rewrite(input, triggered_, false, start_);
    const Outcome filtered = rewrite(input, rules_, true, start_);
    if (!sameOutcome(everyRule, triggered)) {
      report(input, what, "the triggers changed the ", firstDifference(everyRule, triggered),
             everyRule, triggered);
    } else if (!sameOutcome(everyRule, filtered)) {
      report(input, what, "the prefilter changed the ", firstDifference(everyRule, filtered),
             everyRule, filtered);
    }
  }

 private:
  void report(std::string_view input, std::string_view what, std::string_view fault,
              std::string_view part, const Outcome& expected, const Outcome& actual) {
    if (++failures_ > 3) return;
    ADD_FAILURE() << what << ": " << fault << part << " of this input:\n"
                  << input << "\n--- every rule on every line:\n"
                  << testing::withoutCr(expected.bytes) << "\n--- otherwise:\n"
                  << testing::withoutCr(actual.bytes);
  }

  std::vector<RuleEntry> rules_;
  RewriteState start_;
  std::vector<RuleEntry> triggered_;
  int failures_ = 0;
};

std::string exampleScript() {
  std::ifstream in(APLPATCH_EXAMPLE_SCRIPT, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_FALSE(text.empty()) << "cannot read " << APLPATCH_EXAMPLE_SCRIPT;
  return text;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

void toggleCase(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
}

void lowerCase(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

TEST(RuleTriggers, ExampleAndEveryPrefixOfItRewriteAlike) {
  Comparison comparison;
  const std::string example = exampleScript();
  comparison.check(example, "the example");
  // Every prefix ends the script inside whatever block, capture or skip is open at that line.
  std::string prefix;
  int count = 0;
  for (const std::string& line : linesOf(example)) {
    prefix += line;
    comparison.check(prefix, "a prefix of the example");
    if (++count % 4 == 0) {
      comparison.check(prefix.substr(0, prefix.size() - 1), "a prefix without its last newline");
    }
  }
}

TEST(RuleTriggers, ExampleInOtherLetterCasesRewritesAlike) {
  Comparison comparison;
  const std::string example = exampleScript();
  std::string lower = example;
  lowerCase(lower);
  comparison.check(lower, "the example in small letters");
  std::string toggled = example;
  toggleCase(toggled);
  comparison.check(toggled, "the example with its letter case toggled");

  // Every seventh line in the other case, from each of seven starts: the rules ahead of the
  // upper-casing see each line as read in both cases, among lines of the other case.
  const std::vector<std::string> lines = linesOf(example);
  for (std::size_t start = 0; start < 7; ++start) {
    std::string script;
    for (std::size_t j = 0; j < lines.size(); ++j) {
      std::string line = lines[j];
      if (j % 7 == start) toggleCase(line);
      script += line;
    }
    comparison.check(script, "the example with every seventh line's case toggled");
  }
}

TEST(RuleTriggers, ScriptsThatEndInsideARuleOwnReadRewriteAlike) {
  static constexpr std::string_view kScripts[] = {
      "DESCRIPTION \"NOCREW\"\nPLAY\"C:\\WAV\\GNDBRIEF\"\n WAIT 5\nBRIEFINGCHECK:\n",
      "DESCRIPTION \"NOCREW\"\nPLAY\"C:\\WAV\\GNDBRIEF\"\n",
      "WHILE ON_GROUND\n IF KEY = KV(84) THEN\n",
      "WHILE ON_GROUND = 0\n",
      "WHILE ON_GROUND = 0\n IF KEY = KV(77) THEN\n",
      " PLAY\"C:\\WAV\\CONTROLLERS\\VOICE2\\FC_N040\"\n WAIT 2\n",
      " PLAY\"C:\\WAV\\CONTROLLERS\\VOICE2\\FC_N040\"\n PLAY\"FC_N041\"\n WAIT 1\n",
      " PLAY\"C:\\WAV\\CONTROLLERS\\VOICE3\\FC_N016\"\n ENDIF\n",
      "WAIT_FINAL_STOP:\n WAIT 1\n",
      "FIX_BC:\n IF VCOPILOT = 1 THEN\n AUTOPILOT_HEADING = VHDG\n WAIT 2\n",
      "FIX_BC:\n AUTOPILOT_HEADING = VHDG\n VCOURSE = VOR_1_OBS\n",
      "PLAYCALL:\n IF VVOICE = 1 THEN\n",
      "HOLDFIX_C:\n GOSUB FIX_HDG\n WHILE NOT INRANGE360(PLANE_HEADING,80,100)\n WAIT 1\n",
      "HOLDFIX_BC:\n GOSUB FIX_BC\n WHILE NOT INRANGE360(PLANE_HEADING,1,2)\n ENDWHILE\n",
      "VALT = 5000\n",
      "VALT = 1\nVALT = 2\nvalt = 3\n",
      "CENTER_A:\n X\n Y\n",
      "SET_TOD_ALT:\n X\n",
      "DECLARE VALT\n",
      "WAIT_VOR1:\n ONKEY KV(1) GOSUB X\n",
  };
  Comparison comparison;
  for (std::string_view script : kScripts) {
    comparison.check(script, "a script that ends inside a block");
    std::string lower(script);
    lowerCase(lower);
    comparison.check(lower, "a script in small letters that ends inside a block");
  }
}

// Texts that rules test besides their trigger texts, or that end what a trigger opened.
constexpr std::string_view kFurtherTexts[] = {
    "WAIT ", "WAIT 1", "WAIT 15", "RETURN", "ENDWHILE", "ENDIF", "ELSE", "THEN", "(F1)",
    "NOCREW", "DESCRIPTION", "GNDBRIEF", "PREGNDBR", "ARIVBRIE", "PRETAXBR", "TOBRIEF", "PRINT",
    "ONKEY KV(68)",
    "ONKEY KV(76) GOSUB LINE_UP", "GOTO GOWAITVORX", "WHILE KEY != KV(71)",
    "ONEXP_CLEAR SET_TOD_ALT", "IF KEY = KV(77)",
    "PLAY\"C:\\FS\\WAV\\COPILOTS\\VOICE01\\FLTLVL110\"",
    "VTIMER = ELAPSED_TIME", "IF ELAPSED_TIME > VTIMER + 20 THEN", "VOR_1_OBS", "AUTOPILOT_HEADING",
    "HOLDFIX_", "IF VCOPILOT = 1 THEN", "TAKEOFF:", "WHILE (NOT INRANGE360(",
    "WHILE NOT INRANGE360(PLANE_HEADING,80,100)", "GOTO HOLDFIX_BC", "GOSUB FIX_HDG",
    "GOSUB FIX_BC", "FC_N041", "FINALLIST:", "IF VVOICE = 1 THEN", "GOSUB RADIAL_CHECK",
    "CHECK_ALTITUDE", "< 6", "MAINTAIN 9000 FEET, FIX", "GEHEN SIE AUF 9000, KURS 90",
    "\\CONTROLLERS\\VOICE2\\FC_N057", "FC_N058", "\\COPILOTS\\VOICE01\\FC_HDG", "GOSUB PLAYCALL",
    "DESCCL", "GOTO WAIT_VOR1", "WAIT_VOR1:", "CENTER_EDDF:", "IF VALT = 24000 THEN",
    "VCHECKLISTS = 5", "VCHECKLISTS = 7", "\xDC", "\r",
};

constexpr std::string_view kGlue[] = {"", " ", " ", "  ", "(", ")", " = ", ":", "\"", "X"};

// Random scripts made of the texts that make rules act, joined and cased in random ways.
class ScriptMaker {
 public:
  explicit ScriptMaker(std::uint32_t seed) : random_(seed) {
    for (const RuleEntry& rule : lineRules()) {
      for (std::string_view text : rule.trigger.texts) {
        if (!text.empty()) texts_.push_back(text);
      }
    }
    texts_.insert(texts_.end(), std::begin(kFurtherTexts), std::end(kFurtherTexts));
  }

  std::string script() {
    std::string text;
    if (chance(25)) text += "DESCRIPTION \"NOCREW\"\n";
    if (chance(50)) text += " PLAY\"C:\\FS\\WAV\\CONTROLLERS\\VOICE2\\FC_CALL\"\n";
    const std::uint32_t lines = 1 + pick(40);
    for (std::uint32_t i = 0; i < lines; ++i) text += line();
    if (chance(20)) text.pop_back();  // the last line without its newline
    return text;
  }

 private:
  std::uint32_t pick(std::uint32_t n) { return static_cast<std::uint32_t>(random_() % n); }
  bool chance(std::uint32_t percent) { return pick(100) < percent; }

  std::string line() {
    std::string line;
    if (chance(30)) line += ' ';
    const std::uint32_t pieces = chance(2) ? 20 : 1 + pick(3);  // now and then longer than a read
    for (std::uint32_t i = 0; i < pieces; ++i) {
      if (i > 0) line += kGlue[pick(std::size(kGlue))];
      std::string piece(texts_[pick(static_cast<std::uint32_t>(texts_.size()))]);
      if (chance(15)) lowerCase(piece);
      if (chance(5)) toggleCase(piece);
      line += piece;
    }
    if (line.empty() || line.back() != '\n') line += chance(10) ? "\r\n" : "\n";
    return line;
  }

  std::mt19937 random_;
  std::vector<std::string_view> texts_;
};

TEST(RuleTriggers, RandomMixesOfTriggerTextsRewriteAlike) {
  ScriptMaker maker(20240611);
  Comparison comparison;
  for (int i = 0; i < 3000; ++i) comparison.check(maker.script(), "a random script");
}

// The tables with features switched off hold stand-ins and lack rules whose replacements shielded
// later rules: every feature off alone, and all off, over the example and random scripts.
TEST(RuleTriggers, TablesWithFeaturesSwitchedOffRewriteAlike) {
  std::vector<FeatureSwitches> switchSets = {testing::allFeaturesOff()};
  for (const FeatureInfo& info : featureTable()) {
    switchSets.emplace_back().set(info.feature, false);
  }
  std::string lower = exampleScript();
  lowerCase(lower);
  for (const FeatureSwitches& switches : switchSets) {
    const std::vector<Feature> off = switches.switchedOff();
    std::string with = off.size() > 1 ? " with every feature off" : " without ";
    if (off.size() == 1) with.append(featureName(off[0]));
    Comparison comparison(lineRulesFor(switches), startStateFor(switches));
    comparison.check(exampleScript(), std::string("the example").append(with));
    comparison.check(lower, std::string("the example in small letters").append(with));
    ScriptMaker maker(20240612);
    for (int i = 0; i < 500; ++i) {
      comparison.check(maker.script(), std::string("a random script").append(with));
    }
  }
}

// Every text and every any-line test of every trigger must be needed by some input above: without
// it, the rule behind its trigger must rewrite some input differently. Otherwise the comparisons
// could not tell a trigger that misses a case from a correct one (or the part is more than the rule
// needs).
TEST(RuleTriggers, EveryPartOfEveryTriggerMattersForSomeInput) {
  std::vector<std::string> inputs;
  const std::string example = exampleScript();
  inputs.push_back(example);
  std::string lower = example;
  lowerCase(lower);
  inputs.push_back(lower);
  ScriptMaker maker(20240611);
  for (int i = 0; i < 3000; ++i) inputs.push_back(maker.script());

  std::vector<Outcome> expected;
  for (const std::string& input : inputs) expected.push_back(rewrite(input, lineRules(), false));

  const std::span<const RuleEntry> rules = lineRules();
  for (std::size_t r = 0; r < rules.size(); ++r) {
    const Trigger& trigger = rules[r].trigger;
    if (trigger.everyLine()) continue;
    struct Narrower {
      Trigger trigger;
      std::string part;
    };
    std::vector<Narrower> narrower;
    for (std::size_t t = 0; t < trigger.texts.size() && !trigger.texts[t].empty(); ++t) {
      Trigger less = trigger;
      for (std::size_t u = t; u + 1 < less.texts.size(); ++u) less.texts[u] = less.texts[u + 1];
      less.texts.back() = {};
      narrower.push_back({less, "its text \"" + std::string(trigger.texts[t]) + "\""});
    }
    if (trigger.anyLineWhile.given()) {
      Trigger less = trigger;
      less.anyLineWhile = {};
      narrower.push_back({less, "its any-line test"});
    }
    if (trigger.onPass != 0) {
      Trigger less = trigger;
      less.onPass = 0;
      narrower.push_back({less, "its pass number"});
    }
    for (Narrower& less : narrower) {
      // A trigger left empty would let the rule run on every line: let it run on none instead.
      if (less.trigger.everyLine()) less.trigger.texts[0] = "\x01\x02 never in any input";
      std::vector<RuleEntry> table(rules.begin(), rules.end());
      table[r].trigger = less.trigger;
      const std::vector<RuleEntry> triggered = behindTheirTriggers(table);
      bool changed = false;
      for (std::size_t i = 0; i < inputs.size() && !changed; ++i) {
        changed = !sameOutcome(rewrite(inputs[i], triggered, false), expected[i]);
      }
      EXPECT_TRUE(changed) << rules[r].name << ": no input needs " << less.part;
    }
  }
}

}  // namespace
}  // namespace aplpatch
