#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "engine/rule_entry.h"

namespace aplpatch {

// Decides cheaply which rules can act on a line by its text and pass, from one pass over its groups
// of four bytes: a rule keyed on a text is a candidate only when the line holds one of the text's
// key groups (two in a row, chosen for being rare). Groups are compared with bit 5 of every byte
// cleared: that makes small letters capitals, so the answer holds before and after the
// upper-casing (and merges a few other bytes, which only adds candidates). A rule without texts or
// a pass, or keyed on a text too short for a key, always is a candidate; a rule keyed on a pass
// number is one on that pass. It knows nothing of the rules' state: RulePrefilter adds that.
class LineScan {
 public:
  static constexpr std::size_t kMaxRules = 128;

  // A set of rules, by their places in the table: bit i % 64 of word i / 64 for rule i.
  static constexpr std::size_t kWords = kMaxRules / 64;
  using RuleSet = std::array<std::uint64_t, kWords>;

  // Made for `ruleCount` rules, none of them keyed yet (so none a candidate). Throws
  // std::length_error for more than kMaxRules.
  explicit LineScan(std::size_t ruleCount);

  // Keys rule number `rule` on `keys`; `alwaysOnText` makes it a candidate on every line whatever
  // its texts (a rule with no trigger at all, for instance).
  void keyRule(std::size_t rule, const LineKeys& keys, bool alwaysOnText);

  // Finds the candidates for `line`, the line of the pass numbered `passNumber`, and keeps a copy
  // of it for rescanIfChanged().
  void scan(std::string_view line, int passNumber = 0);
  // Scans `line` again unless it holds the text of the last scan, letter case aside; returns
  // whether it did.
  bool rescanIfChanged(std::string_view line) {
    if (line.size() != scannedSize_ || !sameBytes(line.data(), scanned_.data(), line.size())) {
      return rescan(line);
    }
    return false;
  }

  // The candidates of the last scan.
  const RuleSet& candidates() const { return candidates_; }

 private:
  static constexpr int kSlotBits = 14;
  static constexpr std::size_t kLastKey = 255;
  static constexpr std::size_t kGroupBytes = 4;
  // The scan looks at the groups that start at every kStep-th byte of a line; a text needs
  // kKeyBytes to hold kStep groups in a row.
  static constexpr std::size_t kStep = 2;
  static constexpr std::size_t kKeyBytes = kGroupBytes + kStep - 1;

  // The four bytes at `at`, bit 5 of each cleared, as one number (in the machine's byte order,
  // which the table is built with too).
  static std::uint32_t groupAt(const char* at) {
    std::uint32_t group;
    std::memcpy(&group, at, 4);
    return group & 0xDFDFDFDF;
  }
  // Where a group's rule set is found: groups whose hashes meet share one.
  static std::size_t slotOf(std::uint32_t group) {
    return (group * 0x9E3779B1u) >> (32 - kSlotBits);
  }

  template <typename Word>
  static Word wordAt(const char* at) {
    Word word;
    std::memcpy(&word, at, sizeof word);
    return word;
  }
  template <typename Word>
  static Word differenceAt(const char* a, const char* b, std::size_t at) {
    return wordAt<Word>(a + at) ^ wordAt<Word>(b + at);
  }

  // Whether the `size` bytes at `a` and `b` are alike. Lines are mostly short: up to 32 bytes, a
  // few overlapping words compare them without a loop.
  static bool sameBytes(const char* a, const char* b, std::size_t size) {
    using Long = std::uint64_t;
    if (size > 32) return std::memcmp(a, b, size) == 0;
    if (size > 16) {
      return (differenceAt<Long>(a, b, 0) | differenceAt<Long>(a, b, 8) |
              differenceAt<Long>(a, b, size - 16) | differenceAt<Long>(a, b, size - 8)) == 0;
    }
    if (size >= 8) return (differenceAt<Long>(a, b, 0) | differenceAt<Long>(a, b, size - 8)) == 0;
    using Short = std::uint32_t;
    if (size >= 4) return (differenceAt<Short>(a, b, 0) | differenceAt<Short>(a, b, size - 4)) == 0;
    for (std::size_t i = 0; i < size; ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }

  void keyRuleOnText(std::size_t rule, std::string_view text);
  bool rescan(std::string_view line);

  struct PassGate {
    std::size_t rule;
    int passNumber;
  };

  std::vector<std::uint32_t> typicalGroups_;  // sorted; groups too common to be keys
  std::vector<std::uint8_t> slotKey_;  // by slot: the index of a rule set, 0 for none
  std::vector<RuleSet> keyRules_;      // rule sets by key; key 0 is the empty set
  RuleSet everyLine_{};
  RuleSet candidates_{};
  std::vector<PassGate> passGates_;  // rules that may act on any line of one pass
  int passNumber_ = 0;               // the pass of the last scan
  std::vector<char> scanned_;  // the line as last scanned: its first scannedSize_ bytes
  std::size_t scannedSize_ = 0;
};

// The line scan with the rules' state tests: a rule that may act on any line while a state test
// holds is a candidate while it holds, and a rule that acts only while a state test holds is no
// candidate otherwise. The rule itself then makes the exact test.
template <typename State>
class RulePrefilter {
 public:
  static constexpr std::size_t kMaxRules = LineScan::kMaxRules;

  explicit RulePrefilter(std::span<const BasicRuleEntry<State>> rules)
      : scan_(rules.size()), onlyWhileTests_(rules.size()) {
    for (std::size_t rule = 0; rule < rules.size(); ++rule) {
      const BasicTrigger<State>& trigger = rules[rule].trigger;
      if (trigger.onlyWhile.given()) {
        onlyWhile_[rule >> 6] |= std::uint64_t{1} << (rule & 63);
        onlyWhileTests_[rule] = trigger.onlyWhile;
      }
      if (trigger.anyLineWhile.given()) anyLineRules_.emplace_back(rule, trigger.anyLineWhile);
      scan_.keyRule(rule, LineKeys{trigger.texts, trigger.onPass}, trigger.everyLine());
    }
    anyLineRules_.emplace_back(kMaxRules, StateTest<State>{});
    for (std::size_t rule = 0, k = 0; rule <= kMaxRules; ++rule) {
      while (anyLineRules_[k].rule < rule) ++k;
      firstAnyLineFrom_[rule] = static_cast<std::uint8_t>(k);
    }
  }

  // As LineScan's.
  void scan(std::string_view line, int passNumber = 0) { scan_.scan(line, passNumber); }
  bool rescanIfChanged(std::string_view line) { return scan_.rescanIfChanged(line); }

  // The first rule from `rule` on that can act now, or kMaxRules when none can: a candidate for the
  // scanned line or a rule whose any-line test holds in `state`, and in either case one whose
  // only-while test holds. After a rule has run, ask again from the next one (rescanIfChanged()
  // first): what the rule did to the line and the state decides which later rules can act.
  [[gnu::always_inline]] std::size_t nextRule(std::size_t rule, const State& state) const {
    if (rule >= kMaxRules) return kMaxRules;
    // No rule runs while the next one is sought, so every test made here sees the state the earlier
    // rules left: the first candidate is found, then the rules before it that may act on any line.
    const std::size_t candidate = nextCandidate(rule, state);
    // (A candidate among them has failed its only-while test already, and fails it again here.)
    for (const AnyLineRule* any = &anyLineRules_[firstAnyLineFrom_[rule]]; any->rule < candidate;
         ++any) {
      if (!any->holds(state)) continue;
      if ((onlyWhile_[any->rule >> 6] >> (any->rule & 63) & 1) &&
          !onlyWhileTests_[any->rule].holds(state)) {
        continue;
      }
      return any->rule;
    }
    return candidate;
  }

 private:
  // A rule that may act on any line, with its test; a test of a flag or a one-byte choice, as most
  // are, is made in line.
  struct AnyLineRule {
    AnyLineRule(std::size_t place, StateTest<State> anyLineTest)
        : rule(place), byte(anyLineTest.kind == StateTest<State>::Kind::byte),
          offset(anyLineTest.offset), low(anyLineTest.low), span(anyLineTest.span), test(anyLineTest) {}

    bool holds(const State& state) const {
      if (!byte) return test.holds(state);
      return reinterpret_cast<const unsigned char*>(&state)[offset] - low <= span;
    }

    std::size_t rule;
    bool byte;
    std::size_t offset;
    unsigned low;
    unsigned span;
    StateTest<State> test;
  };

  // The first candidate of the scanned line from `rule` on whose only-while test holds, or
  // kMaxRules.
  [[gnu::always_inline]] std::size_t nextCandidate(std::size_t rule, const State& state) const {
    const LineScan::RuleSet& candidates = scan_.candidates();
    std::size_t w = rule >> 6;
    // The rules before `rule` in its word are masked off once; the words after it are whole.
    std::uint64_t open = candidates[w] & (~std::uint64_t{0} << (rule & 63));
    for (;;) {
      for (; open != 0; open &= open - 1) {
        const int bit = std::countr_zero(open);
        const std::size_t i = w * 64 + static_cast<std::size_t>(bit);
        if ((onlyWhile_[w] >> bit & 1) && !onlyWhileTests_[i].holds(state)) continue;
        return i;
      }
      if (++w == LineScan::kWords) return kMaxRules;
      open = candidates[w];
    }
  }

  LineScan scan_;
  // The rules with an anyLineWhile test, in their order, and past them one of kMaxRules.
  std::vector<AnyLineRule> anyLineRules_;
  // By rule: the place in anyLineRules_ of the first one from it on.
  std::array<std::uint8_t, kMaxRules + 1> firstAnyLineFrom_{};
  LineScan::RuleSet onlyWhile_{};  // the rules with an onlyWhile test
  std::vector<StateTest<State>> onlyWhileTests_;
};

}  // namespace aplpatch
