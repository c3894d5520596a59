#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "engine/pass.h"

namespace aplpatch {

using RuleFunction = void (*)(Pass&);

// A flag, choice or number of the rewriting state, named by its place in the state so that a test
// of it needs no call. Made by STATE_FIELD(member); `Value` is the member's type.
template <typename Value>
struct StateField {
  std::size_t offset;
};

static_assert(std::is_standard_layout_v<RewriteState>, "state members are found by their offsets");

#define STATE_FIELD(member)                                              \
  ::aplpatch::StateField<decltype(::aplpatch::RewriteState::member)> {   \
    offsetof(::aplpatch::RewriteState, member)                           \
  }

// A test of one member of the rewriting state, made without a call: a flag or a one-byte choice, or
// an integer, within a range; or a text being empty.
struct StateTest {
  enum class Kind : std::uint8_t { none, byte, number, text };
  Kind kind = Kind::none;
  std::size_t offset = 0;
  std::string RewriteState::*text = nullptr;
  int low = 0;
  int high = 0;

  constexpr bool given() const { return kind != Kind::none; }
  bool holds(const RewriteState& state) const {
    const unsigned char* at = reinterpret_cast<const unsigned char*>(&state) + offset;
    int value;
    if (kind == Kind::byte) {
      value = *at;
    } else if (kind == Kind::number) {
      std::memcpy(&value, at, sizeof value);
    } else {
      return (state.*text).empty();
    }
    // One comparison for the whole range; a range from 1 up to -1 wraps round all but 0.
    return static_cast<unsigned>(value) - static_cast<unsigned>(low) <=
           static_cast<unsigned>(high) - static_cast<unsigned>(low);
  }
};

namespace state_test {

template <typename Value>
constexpr StateTest inRange(StateField<Value> field, int low, int high) {
  static_assert(std::is_same_v<Value, int> || sizeof(Value) == 1,
                "a state test reads an int or a one-byte flag or choice");
  using Kind = StateTest::Kind;
  return {std::is_same_v<Value, int> ? Kind::number : Kind::byte, field.offset, nullptr, low, high};
}

template <typename Value>
constexpr int asInt(Value value) {
  return static_cast<int>(value);
}

}  // namespace state_test

// A flag that is set, or an integer or choice that is not zero.
template <typename Value>
constexpr StateTest isSet(StateField<Value> field) {
  return state_test::inRange(field, 1, -1);
}
// An integer or choice that differs from `value`.
template <typename Value>
constexpr StateTest isNot(StateField<Value> field, Value value) {
  return state_test::inRange(field, state_test::asInt(value) + 1, state_test::asInt(value) - 1);
}
constexpr StateTest isAbove(StateField<int> field, int value) {
  return state_test::inRange(field, value + 1, INT_MAX);
}
constexpr StateTest isBelow(StateField<int> field, int value) {
  return state_test::inRange(field, INT_MIN, value - 1);
}
template <typename Value>
constexpr StateTest isEqual(StateField<Value> field, Value value) {
  return state_test::inRange(field, state_test::asInt(value), state_test::asInt(value));
}
constexpr StateTest isEmpty(std::string RewriteState::*text) {
  return {StateTest::Kind::text, 0, text, 0, 0};
}

// When a rule can act at all, so that the engine can pass over it on most lines: on a line that
// contains one of `texts` (compared without regard to letter case), on any line while
// `anyLineWhile` holds, or on the pass numbered `onPass`; and in each case only while `onlyWhile`
// holds. A rule whose trigger names none of these runs on every line. A trigger may allow more than
// the rule needs, never less.
struct Trigger {
  std::array<std::string_view, 8> texts{};
  StateTest anyLineWhile{};
  StateTest onlyWhile{};
  int onPass = 0;

  constexpr bool everyLine() const {
    return texts[0].empty() && !anyLineWhile.given() && onPass == 0;
  }

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

// The same for a list of texts kept together.
template <std::size_t N>
constexpr Trigger onTexts(const std::array<std::string_view, N>& texts) {
  static_assert(N <= std::tuple_size_v<decltype(Trigger::texts)>);
  Trigger trigger;
  for (std::size_t i = 0; i < N; ++i) trigger.texts[i] = texts[i];
  return trigger;
}

// A rule that can act on any line while `test` holds, and on no other.
constexpr Trigger anyLineWhile(StateTest test) { return Trigger{}.orAnyLineWhile(test); }

// A rule that can act only on the pass numbered `number` (the first line's pass is 1).
constexpr Trigger onPass(int number) {
  Trigger trigger;
  trigger.onPass = number;
  return trigger;
}

struct RuleEntry {
  const char* name;  // the function's own name, for tests and diagnostics
  RuleFunction run;
  Trigger trigger{};
};

}  // namespace aplpatch
