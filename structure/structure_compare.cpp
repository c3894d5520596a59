#include "structure/structure_compare.h"

#include <algorithm>
#include <map>
#include <utility>

namespace aplpatch {

namespace {

bool defines(const ScriptStructure& structure, std::string_view label) {
  const int id = structure.names().find(label);
  return id != NameTable::kNone && structure.use(id).definitions.count > 0;
}

bool namesWithoutDefining(const ScriptStructure& structure, std::string_view label) {
  const int id = structure.names().find(label);
  return id != NameTable::kNone && structure.use(id).references.count > 0 &&
         structure.use(id).definitions.count == 0;
}

template <typename Site, typename Line>
std::vector<int> keptLines(const Occurrences<Site>& occurrences, Line lineOf) {
  std::vector<int> lines;
  for (std::size_t i = 0; i < occurrences.kept(); ++i) lines.push_back(lineOf(occurrences.first[i]));
  return lines;
}

void addMissingTargets(const ScriptStructure& script, const ScriptStructure& reference,
                       std::vector<StructureFinding>& findings) {
  for (int id = 0; id < script.names().size(); ++id) {
    const NameUse& use = script.use(id);
    const std::string_view name = script.names().name(id);
    if (use.references.count == 0 || use.definitions.count > 0 || namesWithoutDefining(reference, name)) continue;
    StructureFinding finding;
    finding.kind = FindingKind::missingTarget;
    finding.form = use.references.first[0].form;
    finding.name = name;
    finding.lines = keptLines(use.references, [](const ReferenceSite& site) { return site.line; });
    finding.count = use.references.count;
    findings.push_back(std::move(finding));
  }
}

void addLabelsDefinedAgain(const ScriptStructure& script, const ScriptStructure& reference,
                           std::vector<StructureFinding>& findings) {
  for (int id = 0; id < script.names().size(); ++id) {
    const int count = script.use(id).definitions.count;
    if (count < 2) continue;
    const std::string_view name = script.names().name(id);
    const int referenceId = reference.names().find(name);
    const int referenceCount = referenceId == NameTable::kNone ? 0 : reference.use(referenceId).definitions.count;
    if (count <= referenceCount) continue;
    StructureFinding finding;
    finding.kind = FindingKind::labelDefinedAgain;
    finding.name = name;
    finding.lines = keptLines(script.use(id).definitions, [](int line) { return line; });
    finding.count = count;
    finding.referenceCount = referenceCount;
    findings.push_back(std::move(finding));
  }
}

}  // namespace

std::vector<LostLabel> lostLabels(const ScriptStructure& script, const ScriptStructure& reference) {
  std::vector<LostLabel> lost;
  for (int id = 0; id < reference.names().size(); ++id) {
    const int line = reference.use(id).aloneLine;
    if (line == 0) continue;
    const std::string_view name = reference.names().name(id);
    const int kept = script.names().find(name);
    if (kept == NameTable::kNone || script.use(kept).aloneLine == 0) lost.push_back({std::string(name), line});
  }
  std::sort(lost.begin(), lost.end(), [](const LostLabel& a, const LostLabel& b) { return a.line < b.line; });
  return lost;
}

namespace {

void addLostLabels(const ScriptStructure& script, const ScriptStructure& reference,
                   std::vector<StructureFinding>& lost) {
  for (int id = 0; id < reference.names().size(); ++id) {
    const NameUse& use = reference.use(id);
    const std::string_view name = reference.names().name(id);
    if (use.definitions.count == 0 || defines(script, name)) continue;
    StructureFinding finding;
    finding.kind = FindingKind::labelLost;
    finding.name = name;
    finding.lines = keptLines(use.definitions, [](int line) { return line; });
    finding.count = use.definitions.count;
    lost.push_back(std::move(finding));
  }
  std::sort(lost.begin(), lost.end(),
            [](const StructureFinding& a, const StructureFinding& b) { return a.lines[0] < b.lines[0]; });
}

std::string_view placeIn(const ScriptStructure& script, int label, const ScriptStructure& reference) {
  return sharedPlace(script, label, {&reference});
}

// Of the blocks across an entry, the one opened at `line`.
const BlockAcrossEntry* blockOpenedAt(const ScriptStructure& script, int line) {
  for (const BlockAcrossEntry& block : script.blocksAcrossEntries()) {
    if (block.openLine == line) return &block;
  }
  return nullptr;
}

using ProblemPlace = std::pair<BlockProblem, std::string>;

void addBlockProblems(const ScriptStructure& script, const ScriptStructure& reference,
                      std::vector<StructureFinding>& findings) {
  // Each side's problems are placed below labels that both define, so that a label that only one of
  // them has (one the rewrite inserted, or one it dropped) moves no problem out of its place.
  std::map<ProblemPlace, int> referenceCounts;
  for (const BlockProblems& group : reference.blockProblems()) {
    referenceCounts[{group.kind, std::string(placeIn(reference, group.label, script))}] += group.lines.count;
  }

  // Groups below different labels of `script` may fall below one label of `reference`.
  std::map<ProblemPlace, StructureFinding> merged;
  for (const BlockProblems& group : script.blockProblems()) {
    StructureFinding& finding = merged[{group.kind, std::string(placeIn(script, group.label, reference))}];
    finding.kind = FindingKind::blockProblem;
    finding.problem = group.kind;
    finding.count += group.lines.count;
    for (std::size_t i = 0; i < group.lines.kept(); ++i) finding.lines.push_back(group.lines.first[i]);
  }
  for (auto& [place, finding] : merged) {
    const auto found = referenceCounts.find(place);
    finding.referenceCount = found == referenceCounts.end() ? 0 : found->second;
    if (finding.count <= finding.referenceCount) continue;
    finding.name = place.second;
    std::sort(finding.lines.begin(), finding.lines.end());
    if (finding.lines.size() > Occurrences<int>::kKept) finding.lines.resize(Occurrences<int>::kKept);
    if (const BlockAcrossEntry* block = blockOpenedAt(script, finding.lines[0])) {
      finding.entry = script.names().name(block->entry);
      finding.entryLine = block->entryLine;
      finding.closeLine = block->closeLine;
    }
    findings.push_back(std::move(finding));
  }
}

// "12", "12 and 40", "12, 40 and 41", with "and N more" for those not kept.
std::string lineList(const std::vector<int>& lines, int count) {
  std::string text;
  const int more = count - static_cast<int>(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += (i + 1 == lines.size() && more <= 0) ? " and " : ", ";
    text += std::to_string(lines[i]);
  }
  if (more > 0) {
    text += " and ";
    text += std::to_string(more);
    text += " more";
  }
  return text;
}

std::string times(int count) {
  if (count == 0) return "not at all";
  if (count == 1) return "once";
  if (count == 2) return "twice";
  std::string text = std::to_string(count);
  text += " times";
  return text;
}

std::string_view problemText(BlockProblem problem) {
  switch (problem) {
    case BlockProblem::ifNotClosed:
      return "IF without ENDIF";
    case BlockProblem::whileNotClosed:
      return "WHILE without ENDWHILE";
    case BlockProblem::endIfWithoutIf:
      return "ENDIF without an open IF";
    case BlockProblem::endWhileWithoutWhile:
      return "ENDWHILE without an open WHILE";
    case BlockProblem::elseWithoutIf:
      return "ELSE or ELSEIF outside an IF block";
    case BlockProblem::elseAfterElse:
      return "ELSE or ELSEIF after the ELSE of its IF block";
    case BlockProblem::nestedTooDeep:
      return "blocks nested too deeply to be checked";
    case BlockProblem::ifAcrossEntry:
      return "IF paired across the entry of a subroutine";
    case BlockProblem::whileAcrossEntry:
      return "WHILE paired across the entry of a subroutine";
  }
  return "";
}

bool isAcrossEntry(BlockProblem problem) {
  return problem == BlockProblem::ifAcrossEntry || problem == BlockProblem::whileAcrossEntry;
}

std::string_view formText(ReferenceForm form) {
  switch (form) {
    case ReferenceForm::jump:
      return "GOTO";
    case ReferenceForm::call:
      return "GOSUB";
    case ReferenceForm::triggerClear:
      return "ONEXP_CLEAR";
  }
  return "";
}

// The line a finding is reported at: for a label defined again, its first definition too many.
// Not for a label lost.
int leadLine(const StructureFinding& finding) {
  const std::size_t lead = finding.kind == FindingKind::labelDefinedAgain ? 1 : 0;
  return lead < finding.lines.size() ? finding.lines[lead] : 0;
}

}  // namespace

std::string_view sharedPlace(const ScriptStructure& script, int label,
                             std::initializer_list<const ScriptStructure*> others) {
  // Each label's predecessor was defined before it, so the walk ends; the count bounds it anyway.
  for (int steps = 0; label != NameTable::kNone && steps <= script.names().size(); ++steps) {
    const std::string_view name = script.names().name(label);
    const auto definesIt = [&](const ScriptStructure* other) { return defines(*other, name); };
    if (std::all_of(others.begin(), others.end(), definesIt)) return name;
    label = script.use(label).labelBefore;
  }
  return {};
}

std::vector<StructureFinding> findingsAgainst(const ScriptStructure& script, const ScriptStructure& reference) {
  std::vector<StructureFinding> findings;
  addMissingTargets(script, reference, findings);
  addLabelsDefinedAgain(script, reference, findings);
  addBlockProblems(script, reference, findings);
  std::sort(findings.begin(), findings.end(), [](const StructureFinding& a, const StructureFinding& b) {
    const int lineA = leadLine(a);
    const int lineB = leadLine(b);
    if (lineA != lineB) return lineA < lineB;
    if (a.kind != b.kind) return a.kind < b.kind;
    return a.problem != b.problem ? a.problem < b.problem : a.name < b.name;
  });
  std::vector<StructureFinding> lost;
  addLostLabels(script, reference, lost);
  findings.insert(findings.end(), std::make_move_iterator(lost.begin()), std::make_move_iterator(lost.end()));
  return findings;
}

std::string describeFinding(const StructureFinding& finding, std::string_view referenceName) {
  if (finding.kind == FindingKind::labelLost) {
    // No line of the script holds it: the reference's lines say which label it was.
    std::string text = "label ";
    text += finding.name;
    text += " of ";
    text += referenceName;
    text += " is gone (defined there at line";
    text += finding.count > 1 ? "s " : " ";
    text += lineList(finding.lines, finding.count);
    text += ')';
    return text;
  }
  std::string text = "line ";
  text += std::to_string(leadLine(finding));
  text += ": ";
  switch (finding.kind) {
    case FindingKind::labelLost:
      break;
    case FindingKind::missingTarget: {
      text += formText(finding.form);
      text += ' ';
      text += finding.name;
      text += ", a label that the script does not define";
      if (finding.count > 1) {
        text += " (named ";
        text += times(finding.count);
        text += ", at lines ";
        text += lineList(finding.lines, finding.count);
        text += ')';
      }
      break;
    }
    case FindingKind::labelDefinedAgain:
      text += "label ";
      text += finding.name;
      text += " is defined ";
      text += times(finding.count);
      text += " (lines ";
      text += lineList(finding.lines, finding.count);
      text += "), in ";
      text += referenceName;
      text += ' ';
      text += times(finding.referenceCount);
      break;
    case FindingKind::blockProblem: {
      // A block across an entry names its closer and the subroutine, after the place of its opener.
      const bool acrossEntry = isAcrossEntry(finding.problem) && !finding.entry.empty();
      const bool isIf = finding.problem == BlockProblem::ifAcrossEntry;
      text += acrossEntry ? (isIf ? "IF" : "WHILE") : problemText(finding.problem);
      if (finding.name.empty()) {
        text += " before the first label";
      } else {
        text += " below label ";
        text += finding.name;
      }
      if (acrossEntry) {
        text += isIf ? " whose ENDIF" : " whose ENDWHILE";
        text += " at line ";
        text += std::to_string(finding.closeLine);
        text += " comes after the entry of subroutine ";
        text += finding.entry;
        text += " at line ";
        text += std::to_string(finding.entryLine);
      }
      if (finding.count > 1 || finding.referenceCount > 0) {
        text += " (";
        text += times(finding.count);
        text += ", at lines ";
        text += lineList(finding.lines, finding.count);
        text += "; in ";
        text += referenceName;
        text += ' ';
        text += times(finding.referenceCount);
        text += ')';
      }
      break;
    }
  }
  return text;
}

std::vector<std::string> rewriteFaults(const ScriptStructure& generated, const ScriptStructure& rewritten,
                                       const FindingNote& note) {
  std::vector<std::string> lines;
  for (const StructureFinding& finding : findingsAgainst(rewritten, generated)) {
    lines.push_back(describeFinding(finding, "the generated script"));
    if (note) lines.back() += note(finding);
  }
  return lines;
}

}  // namespace aplpatch
