#include "structure/apl_line.h"

#include <string>

#include "structure/ascii_words.h"
#include "structure/byte_runs.h"

namespace aplpatch {

namespace {

using detail::isBlank;
using detail::isNameByte;

char capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `word` is `capitals`, letter case aside.
bool isWord(std::string_view word, std::string_view capitals) {
  if (word.size() != capitals.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (capital(word[i]) != capitals[i]) return false;
  }
  return true;
}

std::size_t blanksEnd(std::string_view line, std::size_t at) {
  while (at < line.size() && isBlank(line[at])) ++at;
  return at;
}

std::size_t nameEnd(std::string_view line, std::size_t at) {
  while (at < line.size() && isNameByte(line[at])) ++at;
  return at;
}

// Walks the words of a line outside quoted text, up to a comment: for the lines that the first
// word alone does not settle.
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
        break;  // the loop's step would take pos_ past the line
      } else if (isNameByte(c)) {
        const std::size_t start = pos_;
        pos_ = nameEnd(line_, pos_);
        return line_.substr(start, pos_ - start);
      }
    }
    return {};
  }

  // The name that stands right after the last word, blanks between allowed, or an empty view.
  std::string_view nameAfter() {
    const std::size_t start = blanksEnd(line_, pos_);
    pos_ = nameEnd(line_, start);
    return line_.substr(start, pos_ - start);
  }

  // Whether nothing but blanks or a comment is left.
  bool atEnd() const {
    const std::size_t at = blanksEnd(line_, pos_);
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

// An IF line: a block opener unless a statement follows THEN on the same line. A line without
// THEN is taken as an opener too, so that its ENDIF does not show up as unpaired.
void readIf(LineStatement& statement, std::string_view line, std::size_t wordEnd) {
  if (endsInThen(line)) {
    statement.kind = StatementKind::ifOpen;
    return;
  }
  WordCursor words(line, wordEnd);
  for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
    if (isWord(word, "THEN")) break;
  }
  if (words.atEnd()) {
    statement.kind = StatementKind::ifOpen;
  } else {
    addJumpsAndCalls(statement, words);
  }
}

// The statement that `lead`, the word of `line` that ends at `wordEnd`, begins.
void readKeyword(LineStatement& statement, std::string_view line, LineLead lead, std::size_t wordEnd) {
  switch (lead) {
    case LineLead::plain:
    case LineLead::label:
      break;
    case LineLead::gosub:
      addTarget(statement, nameAt(line, wordEnd), ReferenceForm::call);
      break;
    case LineLead::gotoWord:
      addTarget(statement, nameAt(line, wordEnd), ReferenceForm::jump);
      break;
    case LineLead::ifWord:
      readIf(statement, line, wordEnd);
      break;
    case LineLead::elseIf:
      statement.kind = StatementKind::elseIf;
      break;
    case LineLead::elseWord: {
      statement.kind = StatementKind::elseLine;
      WordCursor words(line, wordEnd);
      addJumpsAndCalls(statement, words);
      break;
    }
    case LineLead::endIf:
      statement.kind = StatementKind::endIf;
      break;
    case LineLead::whileWord:
      statement.kind = StatementKind::whileOpen;
      break;
    case LineLead::endWhile:
      statement.kind = StatementKind::endWhile;
      break;
    case LineLead::binding: {
      WordCursor words(line, wordEnd);
      addJumpsAndCalls(statement, words);
      break;
    }
    case LineLead::triggerClear: {
      WordCursor words(line, wordEnd);
      const std::string_view name = words.nameAfter();
      // "ONEXP_CLEAR F(…)" would clear by an expression, not by a subroutine's name.
      if (words.peek() != '(') addTarget(statement, name, ReferenceForm::triggerClear);
      break;
    }
  }
}

}  // namespace

void readStatement(std::string_view line, FirstWord first, LineStatement& statement) {
  statement.label = {};
  statement.kind = StatementKind::other;
  statement.targetCount = 0;
  LineLead lead = leadOf(line, first);
  std::size_t end = first.end;
  if (lead == LineLead::label) {
    statement.label = line.substr(first.start, first.end - first.start);
    // A statement may follow the label on its line.
    const std::size_t start = end + 1 + detail::blankRun(line.data() + end + 1);
    end = start + detail::nameRun(line.data() + start);
    lead = keywordAt(line, start, end);
  }
  readKeyword(statement, line, lead, end);
}

LineStatement readStatement(std::string_view line) {
  std::string padded(line);
  padded.append(kLinePadding, '\0');
  const std::string_view copy = std::string_view(padded).substr(0, line.size());
  LineStatement statement;
  readStatement(copy, findFirstWord(copy), statement);
  // Point the views back into `line`.
  const auto moved = [&](std::string_view view) {
    return view.empty() ? view : line.substr(static_cast<std::size_t>(view.data() - copy.data()), view.size());
  };
  statement.label = moved(statement.label);
  for (std::size_t i = 0; i < statement.targetCount; ++i) statement.targets[i].name = moved(statement.targets[i].name);
  return statement;
}

}  // namespace aplpatch
