#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/rule_names.h"

namespace aplpatch {

// A stretch of the script that a rule read past on its own, looking for a closing line: every line
// it read before that one went out of the script, or came back only as the rule rewrote it.
struct ReadOn {
  const char* rule = "";      // the name of the rule that read on, as its table entry gives it
  int fromLine = 0;           // the script line whose pass the rule was on when it began (from 1)
  int toLine = 0;             // the last script line it read: the closing line, or the script's last
  std::string_view sought;    // the text that the closing line holds
  bool found = false;         // false when the script ended before such a line came
};

// The read-ons of one rewrite, in the order they happened. Rules read on a few times a script;
// past kKept the rest are only counted, so that no script can make this grow without end.
class ReadOnLog {
 public:
  static constexpr std::size_t kKept = 256;

  // The names of the rules by their origins (see LineOrigins): origin 1 is the first.
  void nameRules(std::vector<const char*> names) { names_ = RuleNames(std::move(names)); }
  // The name of the rule of `origin`, "" for none.
  const char* ruleNamed(std::uint8_t origin) const {
    const char* name = names_.of(origin);
    return name == nullptr ? "" : name;
  }

  void add(const ReadOn& readOn) {
    // Room for all at the first, so that a script with more read-ons costs no more allocations.
    if (kept_.capacity() == 0) kept_.reserve(kKept);
    if (kept_.size() < kKept)
      kept_.push_back(readOn);
    else
      ++notKept_;
  }
  const std::vector<ReadOn>& kept() const { return kept_; }
  std::size_t notKept() const { return notKept_; }

 private:
  RuleNames names_;
  std::vector<ReadOn> kept_;
  std::size_t notKept_ = 0;
};

}  // namespace aplpatch
