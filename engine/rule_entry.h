#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "engine/pass.h"

namespace aplpatch {

template <typename State>
using BasicRuleFunction = void (*)(BasicPass<State>&);

// A flag, choice or number of the rules' state, named by its place in the state so that a test of
// it needs no call. Made by STATE_FIELD(State, member); `Value` is the member's type.
template <typename State, typename Value>
struct StateField {
  std::size_t offset;
};

#define STATE_FIELD(State, member)                            \
  ::aplpatch::StateField<State, decltype(State::member)> {    \
    offsetof(State, member)                                   \
  }

// A test of one member of the rules' state, made without a call: a flag or a one-byte choice, or
// an integer, within a range; or a text being empty.
template <typename State>
struct StateTest {
  enum class Kind : std::uint8_t { none, byte, number, text };
  Kind kind = Kind::none;
  std::size_t offset = 0;
  // The range from low to high, as the distance from low that a value in it is at most: one
  // comparison for the whole range, and a range from 1 up to -1 wraps round all but 0.
  unsigned low = 0;
  unsigned span = 0;
  std::string State::*text = nullptr;

  constexpr bool given() const { return kind != Kind::none; }
  bool holds(const State& state) const {
    static_assert(std::is_standard_layout_v<State>, "state members are found by their offsets");
    const unsigned char* at = reinterpret_cast<const unsigned char*>(&state) + offset;
    // Flags and one-byte choices are most of the tests: theirs is the straight path.
    if (kind == Kind::byte) [[likely]] return *at - low <= span;
    if (kind == Kind::text) return (state.*text).empty();
    unsigned value;
    std::memcpy(&value, at, sizeof value);
    return value - low <= span;
  }
};

namespace state_test {

template <typename State, typename Value>
constexpr StateTest<State> inRange(StateField<State, Value> field, int low, int high) {
  static_assert(std::is_same_v<Value, int> || sizeof(Value) == 1,
                "a state test reads an int or a one-byte flag or choice");
  using Kind = typename StateTest<State>::Kind;
  return {std::is_same_v<Value, int> ? Kind::number : Kind::byte, field.offset,
          static_cast<unsigned>(low), static_cast<unsigned>(high) - static_cast<unsigned>(low)};
}

template <typename Value>
constexpr int asInt(Value value) {
  return static_cast<int>(value);
}

}  // namespace state_test

// A flag that is set, or an integer or choice that is not zero.
template <typename State, typename Value>
constexpr StateTest<State> isSet(StateField<State, Value> field) {
  return state_test::inRange(field, 1, -1);
}
// An integer or choice that differs from `value`.
template <typename State, typename Value>
constexpr StateTest<State> isNot(StateField<State, Value> field, std::type_identity_t<Value> value) {
  return state_test::inRange(field, state_test::asInt(value) + 1, state_test::asInt(value) - 1);
}
template <typename State>
constexpr StateTest<State> isAbove(StateField<State, int> field, int value) {
  return state_test::inRange(field, value + 1, INT_MAX);
}
template <typename State>
constexpr StateTest<State> isBelow(StateField<State, int> field, int value) {
  return state_test::inRange(field, INT_MIN, value - 1);
}
template <typename State, typename Value>
constexpr StateTest<State> isEqual(StateField<State, Value> field, std::type_identity_t<Value> value) {
  return state_test::inRange(field, state_test::asInt(value), state_test::asInt(value));
}
template <typename State>
constexpr StateTest<State> isEmpty(std::string State::*text) {
  return {StateTest<State>::Kind::text, 0, 0, 0, text};
}

template <typename State>
struct BasicTrigger;

// The part of a trigger that needs no state: the texts a line may hold and the pass it may be. What
// onText() and onPass() make; it becomes a trigger of any state.
struct LineKeys {
  std::array<std::string_view, 8> texts{};
  int onPass = 0;

  template <typename State>
  constexpr BasicTrigger<State> orAnyLineWhile(StateTest<State> test) const;
  template <typename State>
  constexpr BasicTrigger<State> andOnlyWhile(StateTest<State> test) const;
};

// When a rule can act at all, so that the engine can pass over it on most lines: on a line that
// contains one of `texts` (compared without regard to letter case), on any line while
// `anyLineWhile` holds, or on the pass numbered `onPass`; and in each case only while `onlyWhile`
// holds. A rule whose trigger names none of these runs on every line. A trigger may allow more than
// the rule needs, never less.
template <typename State>
struct BasicTrigger {
  std::array<std::string_view, 8> texts{};
  StateTest<State> anyLineWhile{};
  StateTest<State> onlyWhile{};
  int onPass = 0;

  constexpr BasicTrigger() = default;
  // Not explicit: a rule entry takes onText(...) and onPass(...) as its trigger.
  constexpr BasicTrigger(const LineKeys& keys) : texts(keys.texts), onPass(keys.onPass) {}

  constexpr bool everyLine() const {
    return texts[0].empty() && !anyLineWhile.given() && onPass == 0;
  }

  constexpr BasicTrigger orAnyLineWhile(StateTest<State> test) const {
    BasicTrigger trigger = *this;
    trigger.anyLineWhile = test;
    return trigger;
  }
  constexpr BasicTrigger andOnlyWhile(StateTest<State> test) const {
    BasicTrigger trigger = *this;
    trigger.onlyWhile = test;
    return trigger;
  }
};

template <typename State>
constexpr BasicTrigger<State> LineKeys::orAnyLineWhile(StateTest<State> test) const {
  return BasicTrigger<State>(*this).orAnyLineWhile(test);
}
template <typename State>
constexpr BasicTrigger<State> LineKeys::andOnlyWhile(StateTest<State> test) const {
  return BasicTrigger<State>(*this).andOnlyWhile(test);
}

// A rule that can act only on a line holding one of `texts`.
template <typename... Texts>
constexpr LineKeys onText(Texts... texts) {
  static_assert(sizeof...(texts) <= std::tuple_size_v<decltype(LineKeys::texts)>);
  return LineKeys{{std::string_view(texts)...}};
}

// The same for a list of texts kept together.
template <std::size_t N>
constexpr LineKeys onTexts(const std::array<std::string_view, N>& texts) {
  static_assert(N <= std::tuple_size_v<decltype(LineKeys::texts)>);
  LineKeys keys;
  for (std::size_t i = 0; i < N; ++i) keys.texts[i] = texts[i];
  return keys;
}

// A rule that can act on any line while `test` holds, and on no other.
template <typename State>
constexpr BasicTrigger<State> anyLineWhile(StateTest<State> test) {
  return BasicTrigger<State>{}.orAnyLineWhile(test);
}

// A rule that can act only on the pass numbered `number` (the first line's pass is 1).
constexpr LineKeys onPass(int number) {
  LineKeys keys;
  keys.onPass = number;
  return keys;
}

template <typename State>
struct BasicRuleEntry {
  const char* name;  // the function's own name, for tests and diagnostics
  BasicRuleFunction<State> run;
  BasicTrigger<State> trigger{};
};

}  // namespace aplpatch
