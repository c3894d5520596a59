#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace aplpatch {

// What one script line does to the script's structure. Everything else a line may do (assign,
// play, print, wait) is `other`.
enum class StatementKind : std::uint8_t {
  other,     // no block word; the line may still define a label or name targets
  ifOpen,    // "IF … THEN" with nothing after THEN: opens a block
  elseIf,    // "ELSEIF … THEN"
  elseLine,  // "ELSE"
  endIf,     // "ENDIF"
  whileOpen, // "WHILE …"
  endWhile,  // "ENDWHILE"
};

// How a line names a label: jumps to it, calls it, or clears the trigger that calls it.
enum class ReferenceForm : std::uint8_t { jump, call, triggerClear };

struct LineTarget {
  std::string_view name;  // as written in the line, any case
  ReferenceForm form;
};

// One line read for its structure. The views point into the line that was read.
struct LineStatement {
  static constexpr std::size_t kMaxTargets = 4;

  std::string_view label;  // the label the line defines ("NAME:" first on the line), or empty
  StatementKind kind = StatementKind::other;
  std::uint8_t targetCount = 0;  // targets beyond kMaxTargets on one line are not kept
  std::array<LineTarget, kMaxTargets> targets;  // the first targetCount are set
};

// Reads `line` (without its LF; a CR before it is ignored) into `statement`, as the compiler
// would, letter case aside. Recognised: a label first on the line, with or without text after its
// colon; GOTO and GOSUB; key and trigger bindings ("ONKEY KV(88) GOSUB X", "ONEXP … GOSUB X") and
// "ONEXP_CLEAR X"; IF … THEN as a block opener, or as a single-line IF when a statement follows
// THEN, whose GOTO and GOSUB targets count; ELSEIF, ELSE, ENDIF, WHILE and ENDWHILE. A "'" outside
// quotes starts a comment.
// Every line is read, so the first words are read without testing for the line's end: the byte
// after `line` must be readable and no letter, digit or underscore (the line's CR or LF, or the NUL
// after a std::string's text).
void readStatement(std::string_view line, LineStatement& statement);

}  // namespace aplpatch
