#include "engine/rule_prefilter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "engine/line_text.h"

namespace aplpatch {

namespace {

// Lines of the kinds that generated scripts are made of, most of them many times over. A group of
// bytes that occurs in them is a poor key: most lines would hold it.
constexpr std::string_view kTypicalLines =
    " GOSUB PLAYCALL\n"
    " PLAY\"C:\\FLIGHTSIM\\TALKRADAR\\WAV\\CONTROLLERS\\VOICE2\\FC_N005\"\n"
    " PLAY\"C:\\FLIGHTSIM\\TALKRADAR\\WAV\\COPILOTS\\VOICE01\\FC_TAXI\"\n"
    " WAIT 1\n"
    " WAIT MESSAGE\n"
    " PRINT\"CONTACT GROUND ON 121.90 AND PRESS G\"\n"
    " IF VVOICE = 1 THEN\n"
    " ELSEIF PLANE_ALT > VALT + 500 THEN\n"
    " ENDIF\n"
    " RETURN\n"
    " WHILE COM_FREQ != 121.90\n"
    " ENDWHILE\n"
    " GOTO HOLDING\n"
    " VTIMER = ELAPSED_TIME\n"
    " AUTOPILOT_ALTITUDE = VALT\n";


unsigned char capital(unsigned char c) {
  return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// How rare a byte is in script text: blanks and letters are everywhere, digits less so, and other
// bytes least of all.
int byteRarity(unsigned char c) {
  c = capital(c);
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

// Copies `size` bytes from `from` to `to`. Lines are mostly short: up to 32 bytes, two overlapping
// copies of a fixed size do it without a call.
void copyBytes(char* to, const char* from, std::size_t size) {
  if (size > 32) {
    std::memcpy(to, from, size);
  } else if (size >= 16) {
    std::memcpy(to, from, 16);
    std::memcpy(to + size - 16, from + size - 16, 16);
  } else if (size >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + size - 8, from + size - 8, 8);
  } else {
    for (std::size_t i = 0; i < size; ++i) to[i] = from[i];
  }
}

}  // namespace

LineScan::LineScan(std::size_t ruleCount)
    : slotKey_(std::size_t{1} << kSlotBits, 0), keyRules_(1), scanned_(256) {
  if (ruleCount > kMaxRules) throw std::length_error("too many rules for the prefilter");
  for (std::size_t i = 0; i + kGroupBytes <= kTypicalLines.size(); ++i) {
    typicalGroups_.push_back(groupAt(kTypicalLines.data() + i));
  }
  std::sort(typicalGroups_.begin(), typicalGroups_.end());
}

void LineScan::keyRule(std::size_t rule, const LineKeys& keys, bool alwaysOnText) {
  if (alwaysOnText) {
    everyLine_[rule >> 6] |= std::uint64_t{1} << (rule & 63);
    return;
  }
  if (keys.onPass != 0) passGates_.push_back({rule, keys.onPass});
  for (std::string_view text : keys.texts) {
    if (!text.empty()) keyRuleOnText(rule, text);
  }
}

void LineScan::keyRuleOnText(std::size_t rule, std::string_view text) {
  const std::uint64_t bit = std::uint64_t{1} << (rule & 63);
  if (text.size() < kKeyBytes) {
    // Too short for a key: such a rule is looked at on every line.
    everyLine_[rule >> 6] |= bit;
    return;
  }
  // The scan looks at every kStep-th group of a line, so a text is keyed on kStep groups in a row,
  // one of which any occurrence of it puts at a place the scan looks at: the rarest such run.
  std::size_t best = 0;
  int bestRarity = -1;
  for (std::size_t i = 0; i + kKeyBytes <= text.size(); ++i) {
    int rarity = 0;
    for (std::size_t g = i; g < i + kStep; ++g) {
      const std::uint32_t group = groupAt(text.data() + g);
      rarity += std::binary_search(typicalGroups_.begin(), typicalGroups_.end(), group) ? 0 : 100;
      for (std::size_t b = g; b < g + kGroupBytes; ++b) {
        rarity += byteRarity(static_cast<unsigned char>(text[b]));
      }
    }
    if (rarity > bestRarity) {
      bestRarity = rarity;
      best = i;
    }
  }
  for (std::size_t g = best; g < best + kStep; ++g) {
    std::uint8_t& key = slotKey_[slotOf(groupAt(text.data() + g))];
    if (key == 0) {
      // Once every key is taken, the last one stands for all further groups too: their rules are
      // then candidates a little more often, never less.
      if (keyRules_.size() <= kLastKey) keyRules_.push_back(RuleSet{});
      key = static_cast<std::uint8_t>(keyRules_.size() - 1);
    }
    keyRules_[key][rule >> 6] |= bit;
  }
}

void LineScan::scan(std::string_view line, int passNumber) {
  passNumber_ = passNumber;
  if (line.size() > scanned_.size()) scanned_.resize(line.size());
  copyBytes(scanned_.data(), line.data(), line.size());
  scannedSize_ = line.size();

  RuleSet candidates = everyLine_;
  const std::uint8_t* slotKey = slotKey_.data();
  const RuleSet* keyRules = keyRules_.data();
  // Without a branch on whether a group is a key (key 0 is the empty set): which groups are is
  // different on every line, and a mispredicted branch costs more than the two loads.
  const auto addRulesOf = [&](std::uint32_t group) {
    const RuleSet& rules = keyRules[slotKey[slotOf(group)]];
    for (std::size_t w = 0; w < kWords; ++w) candidates[w] |= rules[w];
  };
  std::size_t i = 0;
  // The groups at i, i + 2 and i + 4 come from one load of eight bytes.
  static_assert(kStep == 2 && kGroupBytes == 4);
  for (; i + 8 <= line.size(); i += 3 * kStep) {
    std::uint64_t bytes;
    std::memcpy(&bytes, line.data() + i, 8);
    bytes &= 0xDFDFDFDFDFDFDFDF;
    constexpr bool kLittle = std::endian::native == std::endian::little;
    addRulesOf(static_cast<std::uint32_t>(bytes >> (kLittle ? 0 : 32)));
    addRulesOf(static_cast<std::uint32_t>(bytes >> 16));
    addRulesOf(static_cast<std::uint32_t>(bytes >> (kLittle ? 32 : 0)));
  }
  for (; i + kGroupBytes <= line.size(); i += kStep) addRulesOf(groupAt(line.data() + i));
  for (const PassGate& gate : passGates_) {
    if (gate.passNumber != passNumber) continue;
    candidates[gate.rule >> 6] |= std::uint64_t{1} << (gate.rule & 63);
  }
  candidates_ = candidates;
}

bool LineScan::rescan(std::string_view line) {
  if (line.size() == scannedSize_ &&
      sameLettersCaseAside(line, std::string_view(scanned_.data(), scannedSize_))) {
    // Only the letter case changed (the upper-casing): the candidates stay what they were.
    copyBytes(scanned_.data(), line.data(), line.size());
    return false;
  }
  scan(line, passNumber_);
  return true;
}

}  // namespace aplpatch
