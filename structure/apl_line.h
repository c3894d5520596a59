#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "structure/ascii_words.h"
#include "structure/byte_runs.h"

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

// How many bytes after a line the fast reading may load, sixteen at a time. The first of them must
// end a word (the line's CR or LF: no letter, digit, '_', blank or ':'); the others may be anything.
inline constexpr std::size_t kLinePadding = 16;

// Where the first word of a line starts and ends, after its blanks; start == end when the line
// starts with something else.
struct FirstWord {
  std::size_t start = 0;
  std::size_t end = 0;
};

// What a word at the start of a statement makes of its line.
enum class LineLead : std::uint8_t {
  plain,         // no label and no structure word: the line shapes nothing
  label,         // "NAME:"
  gosub,
  gotoWord,
  ifWord,
  elseIf,
  elseWord,
  endIf,
  whileWord,
  endWhile,
  binding,       // ONKEY, ONEXP and their kin, which name the subroutine they call
  triggerClear,  // ONEXP_CLEAR
};

// The first word of `line`. The kLinePadding bytes after `line` must be readable, the first of them
// ending a word, so that the runs need not test for the line's end.
inline FirstWord findFirstWord(std::string_view line) {
  const std::size_t start = detail::blankRun(line.data());
  return {start, start + detail::nameRun(line.data() + start)};
}

// Whether a line whose first word starts at `at` is plain, as far as eight bytes tell: the word
// does not start as a structure word does, and it ends before any ':' (a byte below '0' ends every
// name and is no ':'). Most lines are told so; false means only that the line must be read on.
inline bool surelyPlain(const char* at) {
  if ((detail::classOf(*at) & detail::kKeywordInitial) != 0) return false;
  const std::uint64_t bytes = loadWord(at, 8);
  const std::uint64_t ends = detail::bytesBelow(bytes, '0');
  const std::uint64_t colons = detail::bytesBelow(bytes ^ (':' * detail::kOnes), 1);
  // Some end comes before the first colon, or there is no colon and some end.
  return (ends & ((colons & (0 - colons)) - 1)) != 0;
}

// The name at `at` of `line`, blanks before it allowed, or an empty view. `line` as for
// findFirstWord().
inline std::string_view nameAt(std::string_view line, std::size_t at) {
  const std::size_t start = at + detail::blankRun(line.data() + at);
  return line.substr(start, detail::nameRun(line.data() + start));
}

// The structure word that the word from `start` to `end` of `line` is, or plain; never label. Most
// words are told apart by their first letter, the rest by one compare of eight bytes.
inline LineLead keywordAt(std::string_view line, std::size_t start, std::size_t end) {
  const std::size_t size = end - start;
  if (size < 2) return LineLead::plain;
  switch (line[start] | 0x20) {
    case 'g': case 'i': case 'e': case 'w': case 'o':
      break;
    default:
      return LineLead::plain;
  }
  const char* at = line.data() + start;
  const std::uint64_t word = capitals(loadWord(at, size));
  if ((word & 0xFFFF) == packed("ON")) {
    if (size == 2) return LineLead::plain;
    if (size == 11 && word == packed("ONEXP_CL") && capitals(loadWord(at + 8, 3)) == packed("EAR")) {
      return LineLead::triggerClear;
    }
    return LineLead::binding;
  }
  if (size > 8) return LineLead::plain;
  switch (word) {
    case packed("GOSUB"): return LineLead::gosub;
    case packed("GOTO"): return LineLead::gotoWord;
    case packed("IF"): return LineLead::ifWord;
    case packed("ENDIF"): return LineLead::endIf;
    case packed("ELSEIF"): return LineLead::elseIf;
    case packed("ELSE"): return LineLead::elseWord;
    case packed("WHILE"): return LineLead::whileWord;
    case packed("ENDWHILE"): return LineLead::endWhile;
    default: return LineLead::plain;
  }
}

// The structure word that starts at `at` (a line's first word, after its blanks), or plain: its
// first bytes compared as one eight-byte word, letter case aside, and the byte after it, which must
// end the word and must not make it a label. `at` as for surelyPlain().
inline LineLead keywordStartingAt(const char* at) {
  const std::uint64_t word = loadWord(at, 8) | (0x20 * detail::kOnes);
  // Whether the first `size` bytes are `keyword` and the word ends after them.
  const auto is = [&](std::uint64_t keyword, std::size_t size) {
    const std::uint64_t mask = size == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * size)) - 1;
    return (word & mask) == keyword && (detail::classOf(at[size]) & (detail::kNameByte | detail::kColon)) == 0;
  };
  switch (static_cast<char>(word & 0xFF)) {
    case 'i':
      return is(foldedLetters("IF"), 2) ? LineLead::ifWord : LineLead::plain;
    case 'e':
      if (is(foldedLetters("ENDIF"), 5)) return LineLead::endIf;
      if (is(foldedLetters("ELSEIF"), 6)) return LineLead::elseIf;
      if (is(foldedLetters("ELSE"), 4)) return LineLead::elseWord;
      return is(foldedLetters("ENDWHILE"), 8) ? LineLead::endWhile : LineLead::plain;
    case 'g':
      if (is(foldedLetters("GOSUB"), 5)) return LineLead::gosub;
      return is(foldedLetters("GOTO"), 4) ? LineLead::gotoWord : LineLead::plain;
    case 'w':
      return is(foldedLetters("WHILE"), 5) ? LineLead::whileWord : LineLead::plain;
    case 'o': {
      // ON and a name byte: ONKEY, ONEXP and their kin, unless it is a label.
      if ((word & 0xFFFF) != foldedLetters("ON") || !detail::isNameByte(at[2])) return LineLead::plain;
      const std::size_t size = 2 + detail::nameRun(at + 2);
      if (at[size] == ':') return LineLead::plain;
      return size == 11 && capitals(loadWord(at, 8)) == packed("ONEXP_CL") &&
                     capitals(loadWord(at + 8, 3)) == packed("EAR")
                 ? LineLead::triggerClear
                 : LineLead::binding;
    }
    default:
      return LineLead::plain;
  }
}

// What the first word `word` makes of `line`: a label, a structure word, or plain (most lines).
// `line` as for findFirstWord().
inline LineLead leadOf(std::string_view line, FirstWord word) {
  if (word.start == word.end) return LineLead::plain;
  if (line.data()[word.end] == ':') return LineLead::label;
  return keywordAt(line, word.start, word.end);
}

// Whether `line` ends in the word THEN, blanks after it aside, and holds no comment: the common
// block IF, told apart from the end without reading the line word by word. `line` as for
// findFirstWord().
inline bool endsInThen(std::string_view line) {
  std::size_t size = line.size();
  while (size > 0 && detail::isBlank(line[size - 1])) --size;
  return size > 4 && capitals(loadWord(line.data() + size - 4, 4)) == packed("THEN") &&
         !detail::isNameByte(line[size - 5]) && !detail::holdsCommentMark(line.data(), size);
}

// Reads `line` (without its LF and CR) into `statement`, as the compiler would, letter case
// aside. Recognised: a label first on the line, with or without text after its colon; GOTO and
// GOSUB; key and trigger bindings ("ONKEY KV(88) GOSUB X", "ONEXP … GOSUB X") and
// "ONEXP_CLEAR X"; IF … THEN as a block opener, or as a single-line IF when a statement follows
// THEN, whose GOTO and GOSUB targets count; ELSEIF, ELSE, ENDIF, WHILE and ENDWHILE. A "'" outside
// quotes starts a comment. `word` is the line's first word; the kLinePadding bytes after `line`
// must be readable, the first of them ending a word.
void readStatement(std::string_view line, FirstWord word, LineStatement& statement);

// The same for any line, without a CR or LF at its end, which is copied first.
LineStatement readStatement(std::string_view line);

}  // namespace aplpatch
