#include "structure/script_structure.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace aplpatch {

ScriptStructure::ScriptStructure() : lineCopy_(kMaxLineBytes + kLinePadding) { openBlocks_.reserve(64); }

int ScriptStructure::nameId(std::string_view name) {
  const int id = names_.intern(name);
  if (static_cast<std::size_t>(id) == uses_.size()) uses_.emplace_back();
  return id;
}

void ScriptStructure::defineLabel(std::string_view name, bool alone) {
  const int id = nameId(name);
  NameUse& use = uses_[static_cast<std::size_t>(id)];
  const bool first = use.definitions.count == 0;
  if (first) use.labelBefore = currentLabel_;
  if (alone && use.aloneLine == 0) use.aloneLine = lines_;
  use.definitions.add(lines_);
  if (!openBlocks_.empty() && !use.heldInClosedBlock && use.timesHeld < kHeldPerLabel &&
      use.lastHeld < openBlocks_.back().heldFrom) {
    use.lastHeld = static_cast<int>(heldLabels_.size());
    ++use.timesHeld;
    heldLabels_.push_back({id, lines_});
  }
  if (first) currentLabel_ = id;
}

void ScriptStructure::keepHeldBlock(const OpenBlock& block) {
  const int heldTo = static_cast<int>(heldLabels_.size());
  heldBlocks_.push_back({block.isWhile, block.line, block.label, lines_, currentLabel_, block.heldFrom, heldTo});
  for (int i = block.heldFrom; i < heldTo; ++i) {
    uses_[static_cast<std::size_t>(heldLabels_[static_cast<std::size_t>(i)].label)].heldInClosedBlock = true;
  }
}

void ScriptStructure::noteProblem(BlockProblem kind, int label, int line) {
  const std::int64_t key = static_cast<std::int64_t>(label) * kBlockProblemKinds + static_cast<int>(kind);
  auto [found, added] = problemIndex_.try_emplace(key, problems_.size());
  if (added) problems_.push_back({kind, label, {}});
  problems_[found->second].lines.add(line);
}

void ScriptStructure::openTooDeep() {
  if (blocksTooDeep_ == 0) noteProblem(BlockProblem::nestedTooDeep, currentLabel_, lines_);
  ++blocksTooDeep_;
}

// A closer closes the innermost open block of its kind; the blocks opened inside that one were
// left open. With none of its kind open, the closer itself is the problem and no block is closed:
// so a missing closer and a stray one are each reported once, where they are.
void ScriptStructure::closeOther(bool isWhile) {
  if (blocksTooDeep_ > 0) {
    --blocksTooDeep_;
    return;
  }
  for (std::size_t depth = openBlocks_.size(); depth > 0; --depth) {
    if (openBlocks_[depth - 1].isWhile != isWhile) continue;
    while (openBlocks_.size() > depth) {
      const OpenBlock& inner = openBlocks_.back();
      noteProblem(inner.isWhile ? BlockProblem::whileNotClosed : BlockProblem::ifNotClosed, inner.label,
                  inner.line);
      openBlocks_.pop_back();
    }
    if (static_cast<int>(heldLabels_.size()) > openBlocks_.back().heldFrom) keepHeldBlock(openBlocks_.back());
    openBlocks_.pop_back();
    return;
  }
  noteProblem(isWhile ? BlockProblem::endWhileWithoutWhile : BlockProblem::endIfWithoutIf, currentLabel_,
              lines_);
}

void ScriptStructure::continueOther(bool isElse) {
  if (blocksTooDeep_ > 0) return;
  if (openBlocks_.empty() || openBlocks_.back().isWhile) {
    noteProblem(BlockProblem::elseWithoutIf, currentLabel_, lines_);
    return;
  }
  OpenBlock& block = openBlocks_.back();
  if (block.elseSeen) noteProblem(BlockProblem::elseAfterElse, currentLabel_, lines_);
  if (isElse) block.elseSeen = true;
}

void ScriptStructure::addLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t size = line.size() < kMaxLineBytes ? line.size() : kMaxLineBytes;
  std::memmove(lineCopy_.data(), line.data(), size);
  lineCopy_[size] = '\n';  // ends the last word
  lineCut_ = line.size() > kMaxLineBytes;
  addCutLine(std::string_view(lineCopy_.data(), size));
  lineCut_ = false;
}

// Block words, jumps, calls, the IF that ends in THEN and the label alone on its line, most of a
// rewrite's structure lines, are settled here; readStructure() reads the others whole.
void ScriptStructure::readFirstWord(std::string_view line, std::size_t start) {
  const char* at = line.data() + start;
  const LineLead lead = keywordStartingAt(at);
  switch (lead) {
    case LineLead::plain: {
      // A label, or nothing.
      const std::size_t end = start + detail::nameRun(at);
      if (end == start || line.data()[end] != ':') return;
      std::size_t rest = end + 1;
      while (rest < line.size() && detail::isBlank(line[rest])) ++rest;
      if (rest != line.size()) {
        readStructure(line, {start, end});
        return;
      }
      const std::string_view name = line.substr(start, end - start);
      defineLabel(name, !lineCut_ && std::all_of(name.begin(), name.end(), [](char c) {
                          return static_cast<unsigned char>(c) < 0x80;
                        }));
      return;
    }
    case LineLead::gosub:
      addReference(nameAt(line, start + 5), ReferenceForm::call);
      return;
    case LineLead::gotoWord:
      addReference(nameAt(line, start + 4), ReferenceForm::jump);
      return;
    case LineLead::ifWord:
      if (!endsInThen(line)) break;
      open(false);
      return;
    case LineLead::elseIf:
      continueIf(false);
      return;
    case LineLead::endIf:
      close(false);
      return;
    case LineLead::whileWord:
      open(true);
      return;
    case LineLead::endWhile:
      close(true);
      return;
    default:
      break;
  }
  readStructure(line, {start, start + detail::nameRun(at)});
}

void ScriptStructure::readStructure(std::string_view line, FirstWord word) {
  LineStatement& statement = statement_;
  readStatement(line, word, statement);
  if (!statement.label.empty()) defineLabel(statement.label, false);
  for (std::size_t i = 0; i < statement.targetCount; ++i) {
    addReference(statement.targets[i].name, statement.targets[i].form);
  }
  switch (statement.kind) {
    case StatementKind::other:
      break;
    case StatementKind::ifOpen:
      open(false);
      break;
    case StatementKind::whileOpen:
      open(true);
      break;
    case StatementKind::endIf:
      close(false);
      break;
    case StatementKind::endWhile:
      close(true);
      break;
    case StatementKind::elseIf:
      continueIf(false);
      break;
    case StatementKind::elseLine:
      continueIf(true);
      break;
  }
}

void ScriptStructure::finish() {
  if (finished_) return;
  finished_ = true;
  for (const OpenBlock& block : openBlocks_) {
    noteProblem(block.isWhile ? BlockProblem::whileNotClosed : BlockProblem::ifNotClosed, block.label, block.line);
  }
  openBlocks_.clear();
  findBlocksAcrossEntries();
}

// A closed block that holds a label the script calls holds a subroutine's entry: named by the first
// such label in it.
void ScriptStructure::findBlocksAcrossEntries() {
  for (const HeldBlock& block : heldBlocks_) {
    for (int i = block.heldFrom; i < block.heldTo; ++i) {
      const HeldLabel& held = heldLabels_[static_cast<std::size_t>(i)];
      if (!uses_[static_cast<std::size_t>(held.label)].called) continue;
      acrossEntries_.push_back(
          {block.isWhile, block.openLine, block.openLabel, block.closeLine, block.closeLabel, held.label, held.line});
      break;
    }
  }
  // The blocks were kept as they closed, inner ones first.
  std::sort(acrossEntries_.begin(), acrossEntries_.end(),
            [](const BlockAcrossEntry& a, const BlockAcrossEntry& b) { return a.openLine < b.openLine; });
  for (const BlockAcrossEntry& block : acrossEntries_) {
    noteProblem(block.isWhile ? BlockProblem::whileAcrossEntry : BlockProblem::ifAcrossEntry, block.openLabel,
                block.openLine);
  }
}

}  // namespace aplpatch
