#include "engine/rule_prefilter.h"

#include <stdexcept>

namespace aplpatch {

namespace {

// How rare a byte is in script text: blanks and letters are everywhere, digits less so, and the
// punctuation that labels and calls are made of least of all.
int rarity(unsigned char c) {
  if (c == ' ') return 0;
  if (c >= 'A' && c <= 'Z') {
    switch (c) {
      case 'E': case 'T': case 'A': case 'O': case 'I': case 'N': case 'S': case 'R': case 'L':
        return 1;
      default:
        return 2;
    }
  }
  if (c >= '0' && c <= '9') return 3;
  return 4;
}

}  // namespace

RulePrefilter::RulePrefilter(std::span<const RuleEntry> rules)
    : pairKey_(1u << 16, 0), pairRules_(1), gates_(rules.size(), nullptr) {
  if (rules.size() > kMaxRules) throw std::length_error("too many rules for the prefilter");
  for (std::size_t c = 0; c < fold_.size(); ++c) {
    fold_[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  for (std::size_t rule = 0; rule < rules.size(); ++rule) {
    const Trigger& trigger = rules[rule].trigger;
    if (trigger.everyLine()) {
      everyLine_[rule >> 6] |= std::uint64_t{1} << (rule & 63);
      continue;
    }
    gates_[rule] = trigger.gate;
    for (std::string_view text : trigger.texts) {
      if (!text.empty()) keyRuleOnText(rule, text);
    }
  }
}

void RulePrefilter::keyRuleOnText(std::size_t rule, std::string_view text) {
  const std::uint64_t bit = std::uint64_t{1} << (rule & 63);
  if (text.size() < 2) {
    // A single byte is too weak a key: such a rule is looked at on every line.
    everyLine_[rule >> 6] |= bit;
    return;
  }
  std::size_t best = 0;
  int bestRarity = -1;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const int r = rarity(fold_[static_cast<unsigned char>(text[i])]) +
                  rarity(fold_[static_cast<unsigned char>(text[i + 1])]);
    if (r > bestRarity) {
      bestRarity = r;
      best = i;
    }
  }
  std::uint8_t& key = keyOf(static_cast<unsigned char>(text[best]),
                            static_cast<unsigned char>(text[best + 1]));
  if (key == 0) {
    if (pairRules_.size() > 255) throw std::length_error("too many keys for the prefilter");
    key = static_cast<std::uint8_t>(pairRules_.size());
    pairRules_.push_back(RuleSet{});
  }
  pairRules_[key][rule >> 6] |= bit;
}

void RulePrefilter::scan(std::string_view line) {
  candidates_ = everyLine_;
  const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
  if (line.size() < 2) return;
  std::size_t previous = fold_[bytes[0]];
  for (std::size_t i = 1; i < line.size(); ++i) {
    const std::size_t current = fold_[bytes[i]];
    const std::uint8_t key = pairKey_[previous << 8 | current];
    if (key != 0) {
      for (std::size_t w = 0; w < candidates_.size(); ++w) candidates_[w] |= pairRules_[key][w];
    }
    previous = current;
  }
}

}  // namespace aplpatch
