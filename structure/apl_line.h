#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "structure/ascii_words.h"

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

// How many bytes after a line the fast reading may load, eight at a time. The first of them must
// end a word (the line's CR or LF: no letter, digit, '_', blank or ':'); the others may be anything.
inline constexpr std::size_t kLinePadding = 16;

// Where the first word of a line starts and ends, after its blanks; start == end when the line
// starts with something else.
struct FirstWord {
  std::size_t start = 0;
  std::size_t end = 0;
};

namespace detail {

// Letters, digits and the underscore, and the accented letters of Windows-1252 (from 0xC0), which
// the host may use in German labels.
struct NameBytes {
  bool is[256] = {};
  constexpr NameBytes() {
    for (int b = 0; b < 256; ++b) {
      is[b] = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_' || b >= 0xC0;
    }
  }
};
inline constexpr NameBytes kNameBytes;
inline bool isNameByte(char c) { return kNameBytes.is[static_cast<unsigned char>(c)]; }

// Whether `word` (capitals, at most eight bytes, as loadWord() gives them) is one that a
// structure line starts with.
inline bool isStructureWord(std::uint64_t word, std::size_t size) {
  if (size > 2 && (word & 0xFFFF) == packed("ON")) return true;  // ONKEY, ONEXP, ONEXP_CLEAR, …
  switch (word) {
    case packed("GOSUB"):
    case packed("GOTO"):
    case packed("IF"):
    case packed("ENDIF"):
    case packed("ELSEIF"):
    case packed("ELSE"):
    case packed("WHILE"):
    case packed("ENDWHILE"):
      return size <= 8;
    default:
      return false;
  }
}

}  // namespace detail

// The first word of `line`. The byte after `line` must be readable and end a word (its CR or LF:
// no letter, digit, '_' or blank), so that the loops need not test for the line's end.
inline FirstWord findFirstWord(std::string_view line) {
  const char* const begin = line.data();
  const char* start = begin;
  while (*start == ' ' || *start == '\t') ++start;
  const char* end = start;
  while (detail::isNameByte(*end)) ++end;
  return {static_cast<std::size_t>(start - begin), static_cast<std::size_t>(end - begin)};
}

// Whether a line whose first word is `word` can shape the structure: the word is a label or a
// structure word (GOTO, GOSUB, IF, ELSE…, ENDIF, ENDWHILE, WHILE, ON…). Most lines cannot, and
// this tells them from their first word alone. `line` as for readStatement().
inline bool mayShapeStructure(std::string_view line, FirstWord word) {
  if (word.start == word.end) return false;
  if (line.data()[word.end] == ':') return true;
  switch (line[word.start]) {
    case 'G': case 'I': case 'E': case 'W': case 'O':
    case 'g': case 'i': case 'e': case 'w': case 'o': {
      const std::size_t size = word.end - word.start;
      return detail::isStructureWord(capitals(loadWord(line.data() + word.start, size)), size);
    }
    default:
      return false;
  }
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
