#include "structure/apl_line.h"

#include <cstring>

namespace aplpatch {

namespace {

// Letters, digits and the underscore, and the accented letters of Windows-1252 (from 0xC0), which
// the host may use in German labels. A table, since every byte of every line's first word is
// looked up.
struct NameBytes {
  bool is[256] = {};
  constexpr NameBytes() {
    for (int b = 0; b < 256; ++b) {
      is[b] = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_' || b >= 0xC0;
    }
  }
};
constexpr NameBytes kNameBytes;

bool isNameByte(char c) { return kNameBytes.is[static_cast<unsigned char>(c)]; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
char capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `word` is `capitals`, letter case aside.
bool isWord(std::string_view word, std::string_view capitals) {
  if (word.size() != capitals.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (capital(word[i]) != capitals[i]) return false;
  }
  return true;
}

// Walks the words of a line outside quoted text, up to a comment.
class WordCursor {
 public:
  WordCursor(std::string_view line, std::size_t from) : line_(line), pos_(from) {}

  // The next word, or an empty view at the end of the line or at a comment.
  std::string_view next() {
    bool quoted = false;
    for (; pos_ < line_.size(); ++pos_) {
      const char c = line_[pos_];
      if (c == '"') {
        quoted = !quoted;
      } else if (quoted) {
        continue;
      } else if (c == '\'') {
        pos_ = line_.size();
      } else if (isNameByte(c)) {
        const std::size_t start = pos_;
        while (pos_ < line_.size() && isNameByte(line_[pos_])) ++pos_;
        return line_.substr(start, pos_ - start);
      }
    }
    return {};
  }

  // The name that stands right after the last word, blanks between allowed, or an empty view.
  std::string_view nameAfter() {
    while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (pos_ < line_.size() && isNameByte(line_[pos_])) ++pos_;
    return line_.substr(start, pos_ - start);
  }

  // Whether nothing but blanks or a comment is left.
  bool atEnd() const {
    std::size_t at = pos_;
    while (at < line_.size() && isBlank(line_[at])) ++at;
    return at == line_.size() || line_[at] == '\'';
  }

  char peek() const { return pos_ < line_.size() ? line_[pos_] : '\0'; }

 private:
  std::string_view line_;
  std::size_t pos_;
};

void addTarget(LineStatement& statement, std::string_view name, ReferenceForm form) {
  if (name.empty() || statement.targetCount == LineStatement::kMaxTargets) return;
  statement.targets[statement.targetCount++] = {name, form};
}

// Every GOTO and GOSUB target among the remaining words of the line.
void addJumpsAndCalls(LineStatement& statement, WordCursor& words) {
  for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
    if (isWord(word, "GOTO")) {
      addTarget(statement, words.nameAfter(), ReferenceForm::jump);
    } else if (isWord(word, "GOSUB")) {
      addTarget(statement, words.nameAfter(), ReferenceForm::call);
    }
  }
}

// Whether the line ends in the word THEN and holds no comment: the common block IF, told apart
// without reading the line word by word.
bool endsInThen(std::string_view line) {
  while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
  return line.size() > 4 && isWord(line.substr(line.size() - 4), "THEN") && !isNameByte(line[line.size() - 5]) &&
         std::memchr(line.data(), '\'', line.size()) == nullptr;
}

// An IF line: a block opener unless a statement follows THEN on the same line. A line without
// THEN is taken as an opener too, so that its ENDIF does not show up as unpaired.
void readIf(LineStatement& statement, std::string_view line, WordCursor& words) {
  if (endsInThen(line)) {
    statement.kind = StatementKind::ifOpen;
    return;
  }
  for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
    if (isWord(word, "THEN")) break;
  }
  if (words.atEnd()) {
    statement.kind = StatementKind::ifOpen;
  } else {
    addJumpsAndCalls(statement, words);
  }
}

// The statement that the line's first word (after any label) begins. Told apart by its first
// letter first, since most lines begin with none of these words.
void readKeyword(LineStatement& statement, std::string_view word, std::string_view line, WordCursor& words) {
  switch (capital(word[0])) {
    case 'G':
      if (isWord(word, "GOSUB")) {
        addTarget(statement, words.nameAfter(), ReferenceForm::call);
      } else if (isWord(word, "GOTO")) {
        addTarget(statement, words.nameAfter(), ReferenceForm::jump);
      }
      return;
    case 'I':
      if (isWord(word, "IF")) readIf(statement, line, words);
      return;
    case 'E':
      if (isWord(word, "ENDIF")) {
        statement.kind = StatementKind::endIf;
      } else if (isWord(word, "ELSEIF")) {
        statement.kind = StatementKind::elseIf;
      } else if (isWord(word, "ELSE")) {
        statement.kind = StatementKind::elseLine;
        addJumpsAndCalls(statement, words);
      } else if (isWord(word, "ENDWHILE")) {
        statement.kind = StatementKind::endWhile;
      }
      return;
    case 'W':
      if (isWord(word, "WHILE")) statement.kind = StatementKind::whileOpen;
      return;
    case 'O':
      if (isWord(word, "ONEXP_CLEAR")) {
        const std::string_view name = words.nameAfter();
        // "ONEXP_CLEAR F(…)" would clear by an expression, not by a subroutine's name.
        if (words.peek() != '(') addTarget(statement, name, ReferenceForm::triggerClear);
      } else if (word.size() > 2 && capital(word[1]) == 'N') {
        // Key and trigger bindings: ONKEY, ONEXP and their kin name the subroutine they call.
        addJumpsAndCalls(statement, words);
      }
      return;
    default:
      return;
  }
}

}  // namespace

void readStatement(std::string_view line, LineStatement& statement) {
  statement.label = {};
  statement.kind = StatementKind::other;
  statement.targetCount = 0;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  // The byte after the line stops both loops, so they need not test for the line's end.
  const char* at = line.data();
  while (*at == ' ' || *at == '\t') ++at;
  const char* end = at;
  while (isNameByte(*end)) ++end;
  if (end == at) return;

  if (*end == ':') {
    statement.label = std::string_view(at, static_cast<std::size_t>(end - at));
    // A statement may follow the label on its line.
    at = end + 1;
    while (*at == ' ' || *at == '\t') ++at;
    end = at;
    while (isNameByte(*end)) ++end;
    if (end == at) return;
  }
  const std::string_view word(at, static_cast<std::size_t>(end - at));
  switch (capital(word[0])) {
    case 'G':
    case 'I':
    case 'E':
    case 'W':
    case 'O': {
      WordCursor words(line, static_cast<std::size_t>(end - line.data()));
      readKeyword(statement, word, line, words);
      return;
    }
    default:
      return;
  }
}

}  // namespace aplpatch
