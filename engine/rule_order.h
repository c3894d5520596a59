#pragma once

#include <array>
#include <climits>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "engine/pass.h"

namespace aplpatch {

using RuleFunction = void (*)(Pass&);

// A test of one member of the rewriting state, made without a call: an integer within a range, or
// a text being empty.
struct StateTest {
  int RewriteState::*number = nullptr;
  std::string RewriteState::*text = nullptr;
  int low = 0;
  int high = 0;

  constexpr bool given() const { return number != nullptr || text != nullptr; }
  bool holds(const RewriteState& state) const {
    if (number != nullptr) {
      // One comparison for the whole range; a range from 1 up to -1 wraps round all but 0.
      return static_cast<unsigned>(state.*number) - static_cast<unsigned>(low) <=
             static_cast<unsigned>(high) - static_cast<unsigned>(low);
    }
    return (state.*text).empty();
  }
};

constexpr StateTest isSet(int RewriteState::*number) { return {number, nullptr, 1, -1}; }
constexpr StateTest isAbove(int RewriteState::*number, int value) {
  return {number, nullptr, value + 1, INT_MAX};
}
constexpr StateTest isBelow(int RewriteState::*number, int value) {
  return {number, nullptr, INT_MIN, value - 1};
}
constexpr StateTest isEqual(int RewriteState::*number, int value) {
  return {number, nullptr, value, value};
}
constexpr StateTest isEmpty(std::string RewriteState::*text) { return {nullptr, text, 0, 0}; }

// When a rule can act at all, so that the engine can pass over it on most lines: on a line that
// contains one of `texts` (compared without regard to letter case), or on any line while
// `anyLineWhile` holds; and in either case only while `onlyWhile` holds. A rule whose trigger names
// neither texts nor `anyLineWhile` runs on every line. A trigger may allow more than the rule needs,
// never less.
struct Trigger {
  std::array<std::string_view, 8> texts{};
  StateTest anyLineWhile{};
  StateTest onlyWhile{};

  constexpr bool everyLine() const { return texts[0].empty() && !anyLineWhile.given(); }

  constexpr Trigger orAnyLineWhile(StateTest test) const {
    Trigger trigger = *this;
    trigger.anyLineWhile = test;
    return trigger;
  }
  constexpr Trigger andOnlyWhile(StateTest test) const {
    Trigger trigger = *this;
    trigger.onlyWhile = test;
    return trigger;
  }
};

// A rule that can act only on a line holding one of `texts`.
template <typename... Texts>
constexpr Trigger onText(Texts... texts) {
  static_assert(sizeof...(texts) <= std::tuple_size_v<decltype(Trigger::texts)>);
  return Trigger{{std::string_view(texts)...}};
}

// A rule that can act on any line while `test` holds, and on no other.
constexpr Trigger anyLineWhile(StateTest test) { return Trigger{}.orAnyLineWhile(test); }

struct RuleEntry {
  const char* name;  // the function's own name, for tests and diagnostics
  RuleFunction run;
  Trigger trigger{};
};

// The line rules, in the one order in which every pass runs them.
std::span<const RuleEntry> lineRules();

// The steps that append subroutines after the last line, in the order they run.
std::span<const RuleEntry> appendedSteps();

}  // namespace aplpatch
