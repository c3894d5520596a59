#include "testing/script_variations.h"

#include <algorithm>
#include <cstddef>
#include <random>

#include "engine/line_text.h"
#include "rules/rule_table.h"

namespace aplpatch::testing {

namespace {

using Lines = std::vector<std::string>;

Lines splitLines(std::string_view script) {
  Lines lines;
  while (!script.empty()) {
    std::size_t end = script.find('\n');
    if (end == std::string_view::npos) end = script.size();
    std::string_view line = script.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    script.remove_prefix(std::min(script.size(), end + 1));
  }
  return lines;
}

bool holdsTrigger(std::string line, std::span<const std::string_view> texts) {
  upcaseAscii(line);
  return std::any_of(texts.begin(), texts.end(),
                     [&](std::string_view text) { return contains(line, text); });
}

bool closesBlock(std::string_view line) {
  line.remove_prefix(std::min(line.size(), line.find_first_not_of(' ')));
  return line == "ENDIF" || line == "ENDWHILE" || line == "RETURN";
}

// Draws the changes of one variation. std::mt19937 gives the same numbers everywhere; taking them
// modulo a small bound keeps the draws the same too, where the standard distributions may differ
// from one library to the next.
class Changer {
 public:
  Changer(std::mt19937& random, std::span<const std::string_view> texts)
      : random_(random), texts_(texts) {}

  void change(Lines& lines, std::string& made) {
    if (!made.empty()) made += "; ";
    const std::size_t kind = below(8);
    if (lines.empty() || kind >= 5) {
      std::string text(texts_[below(texts_.size())]);
      while (!text.empty() && text.back() == '\n') text.pop_back();
      const std::size_t at = below(lines.size() + 1);
      made.append("put \"").append(text).append("\" before line ").append(std::to_string(at + 1));
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), text);
    } else if (kind >= 2) {
      const std::size_t from =
          pick(lines, [&](const std::string& line) { return holdsTrigger(line, texts_); });
      const std::size_t to = below(2) == 0 ? from + 1 : below(lines.size() + 1);
      made.append("copied line ").append(std::to_string(from + 1));
      made.append(" before line ").append(std::to_string(to + 1));
      const std::string copy = lines[from];
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(to), copy);
    } else {
      const std::size_t at = pick(lines, [](const std::string& line) { return closesBlock(line); });
      made.append("dropped line ").append(std::to_string(at + 1));
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    }
  }

 private:
  std::size_t below(std::size_t bound) { return random_() % bound; }

  // A line that `favoured` holds for, three times in four when there is one; else any line.
  template <typename Favoured>
  std::size_t pick(const Lines& lines, Favoured favoured) {
    std::vector<std::size_t> candidates;
    if (below(4) != 0) {
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (favoured(lines[i])) candidates.push_back(i);
      }
    }
    return candidates.empty() ? below(lines.size()) : candidates[below(candidates.size())];
  }

  std::mt19937& random_;
  std::span<const std::string_view> texts_;
};

}  // namespace

std::vector<std::string_view> ruleTriggerTexts() {
  std::vector<std::string_view> texts;
  for (const RuleEntry& rule : lineRules()) {
    for (std::string_view text : rule.trigger.texts) {
      if (!text.empty() && std::find(texts.begin(), texts.end(), text) == texts.end()) {
        texts.push_back(text);
      }
    }
  }
  return texts;
}

std::vector<ScriptVariation> scriptVariations(std::string_view script,
                                              std::span<const std::string_view> triggerTexts,
                                              std::uint32_t seed, int count) {
  const Lines original = splitLines(script);
  std::mt19937 random(seed);
  Changer changer(random, triggerTexts);
  std::vector<ScriptVariation> variations;
  for (int i = 0; i < count; ++i) {
    Lines lines = original;
    ScriptVariation variation;
    for (std::size_t changes = 1 + random() % 3; changes > 0; --changes) {
      changer.change(lines, variation.made);
    }
    for (const std::string& line : lines) variation.script.append(line).append("\n");
    variations.push_back(std::move(variation));
  }
  return variations;
}

}  // namespace aplpatch::testing
