#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "engine/rule_order.h"

namespace aplpatch {

// Decides cheaply which rules can act on a line, from one scan of its byte pairs: a rule keyed on a
// text is a candidate only when the line holds that text's rarest pair of bytes (letters folded to
// capitals, so the answer holds before and after the upper-casing). The rule itself then makes the
// exact test. Rules with a state gate are candidates while the gate holds; rules without a trigger
// always are.
class RulePrefilter {
 public:
  static constexpr std::size_t kMaxRules = 128;

  explicit RulePrefilter(std::span<const RuleEntry> rules);

  // Finds the candidates for `line`. Call again whenever the line changes.
  void scan(std::string_view line);

  bool mayAct(std::size_t rule, const RewriteState& state) const {
    const std::uint64_t bit = std::uint64_t{1} << (rule & 63);
    if (candidates_[rule >> 6] & bit) return true;
    return gates_[rule] != nullptr && gates_[rule](state);
  }

 private:
  using RuleSet = std::array<std::uint64_t, kMaxRules / 64>;

  // The index of the rule set of a byte pair, 0 when no rule is keyed on it.
  std::uint8_t& keyOf(unsigned char first, unsigned char second) {
    return pairKey_[std::size_t{fold_[first]} << 8 | fold_[second]];
  }
  void keyRuleOnText(std::size_t rule, std::string_view text);

  std::array<unsigned char, 256> fold_{};
  std::vector<std::uint8_t> pairKey_;    // 65536 byte pairs
  std::vector<RuleSet> pairRules_;       // rule sets by key; key 0 is the empty set
  RuleSet everyLine_{};
  RuleSet candidates_{};
  std::vector<StateGate> gates_;
};

}  // namespace aplpatch
