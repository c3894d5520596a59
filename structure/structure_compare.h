#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "structure/script_structure.h"

namespace aplpatch {

enum class FindingKind : std::uint8_t {
  missingTarget,       // jumps or calls to a label that the script does not define
  labelDefinedAgain,   // a label defined more often than in the reference, and more than once
  blockProblem,        // more block problems of one kind below one label than the reference has
  labelLost,           // a label that the reference defines and the script does not
};

// One way in which a script's structure is worse than a reference's.
struct StructureFinding {
  FindingKind kind = FindingKind::missingTarget;
  BlockProblem problem = BlockProblem::ifNotClosed;  // for blockProblem
  ReferenceForm form = ReferenceForm::jump;          // for missingTarget: the first naming line's form
  std::string name;        // the target, the label, or the label a block problem is below ("" before
                           // the first label)
  std::vector<int> lines;  // where, in the script (in the reference for a label lost): the first few lines
  int count = 0;           // how often, in the script (in the reference for a label lost)
  int referenceCount = 0;  // how often in the reference (definitions, or block problems there)
  // For a block across a subroutine's entry, of the first such block: the subroutine it holds,
  // where that starts, and the line of the block's closer.
  std::string entry;
  int entryLine = 0;
  int closeLine = 0;
};

// A label that the generated script defines standing alone on its line and its rewrite does not.
struct LostLabel {
  std::string name;  // in capitals, as compared
  int line = 0;      // the generated script's line that defines it so first (from 1)
};

// The labels that `reference` defines standing alone (NameUse::aloneLine) and `script` does not,
// names compared in capitals, in the order of those lines. Both structures must be finished.
std::vector<LostLabel> lostLabels(const ScriptStructure& script, const ScriptStructure& reference);

// What `script` has that `reference` has not: a jump, call or cleared trigger naming a label that
// `script` does not define, unless `reference` names that label without defining it too; a label
// that `script` defines more than once and more often than `reference`; more block problems of a
// kind below a label than `reference` has below it; and a label that `reference` defines and
// `script` does not. A block problem below a label that the other script does not define counts as
// below the nearest label before it that both define. Ordered by line, the labels lost last in the
// order of the reference. Both structures must be finished.
std::vector<StructureFinding> findingsAgainst(const ScriptStructure& script, const ScriptStructure& reference);

// The label `label` of `script`, or the nearest one before it that each of `others` defines: the
// place where a line below it lies in those scripts too. "" for none.
std::string_view sharedPlace(const ScriptStructure& script, int label,
                             std::initializer_list<const ScriptStructure*> others);

// The finding as one plain line, naming the reference as `referenceName` ("the generated script").
std::string describeFinding(const StructureFinding& finding, std::string_view referenceName);

// What a caller appends to the line of a finding (the finding's lines being the rewrite's, or the
// generated script's for a label lost): for a run, where those lines came from.
using FindingNote = std::function<std::string(const StructureFinding&)>;

// The faults a rewrite brings into the structure of the script the host generated, for the run's
// log: one line each, with what `note` gives for it (when given), empty when it brings none.
std::vector<std::string> rewriteFaults(const ScriptStructure& generated, const ScriptStructure& rewritten,
                                       const FindingNote& note = {});

}  // namespace aplpatch
