#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace aplpatch {

// The names of the rules and steps of one engine by their origins (see LineOrigins): origin 1 is
// the first rule's. Both what a rewrite notes by origin, its line origins and its read-ons, name
// rules through this.
class RuleNames {
 public:
  RuleNames() = default;
  explicit RuleNames(std::vector<const char*> names) : names_(std::move(names)) {}

  // The name of the rule of `origin`; nullptr for none (0, or past the rules).
  const char* of(std::uint8_t origin) const {
    return origin == 0 || origin > names_.size() ? nullptr : names_[origin - 1u];
  }

  bool operator==(const RuleNames&) const = default;

 private:
  std::vector<const char*> names_;
};

}  // namespace aplpatch
