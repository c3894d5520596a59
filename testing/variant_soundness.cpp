#include "testing/variant_soundness.h"

#include <algorithm>

#include "structure/scanning_streams.h"

namespace aplpatch {

namespace {

bool leavesOpen(BlockProblem problem, bool isWhile) {
  return problem == (isWhile ? BlockProblem::whileNotClosed : BlockProblem::ifNotClosed);
}

bool closesNothing(BlockProblem problem, bool isWhile) {
  if (isWhile) return problem == BlockProblem::endWhileWithoutWhile;
  return problem == BlockProblem::endIfWithoutIf || problem == BlockProblem::elseWithoutIf ||
         problem == BlockProblem::elseAfterElse;
}

}  // namespace

std::string_view VariantSoundness::placeOf(const ScriptStructure& variant, std::string_view label) const {
  return sharedPlace(variant, label.empty() ? NameTable::kNone : variant.names().find(label), {&full_, &generated_});
}

VariantSoundness::VariantSoundness(std::string_view generated, std::string_view fullRewrite)
    : generated_(scanScript(generated)),
      full_(scanScript(fullRewrite)),
      fullAdds_(findingsAgainst(full_, generated_)) {}

bool VariantSoundness::fullRewriteFailsThere(const ScriptStructure& variant,
                                             const StructureFinding& finding) const {
  if (finding.kind == FindingKind::missingTarget) {
    // The full rewrite lost the label and rewrote its calls: the variant's calls are no worse.
    return std::any_of(fullAdds_.begin(), fullAdds_.end(), [&](const StructureFinding& fault) {
      return fault.kind == FindingKind::labelLost && fault.name == finding.name;
    });
  }
  if (finding.kind != FindingKind::blockProblem) return false;
  // The full rewrite pairs the block's opener with a closer that belongs to the subroutine: in truth
  // it leaves the opener open at its place and the closer unpaired at the closer's.
  const std::string_view place = placeOf(variant, finding.name);
  return std::any_of(full_.blocksAcrossEntries().begin(), full_.blocksAcrossEntries().end(),
                     [&](const BlockAcrossEntry& block) {
                       return (leavesOpen(finding.problem, block.isWhile) &&
                               sharedPlace(full_, block.openLabel, {&variant, &generated_}) == place) ||
                              (closesNothing(finding.problem, block.isWhile) &&
                               sharedPlace(full_, block.closeLabel, {&variant, &generated_}) == place);
                     });
}

std::vector<StructureFinding> VariantSoundness::faultsOf(const ScriptStructure& variant) const {
  const std::vector<StructureFinding> added = findingsAgainst(variant, generated_);
  // A finding that the variant does not add to the generated script is the script's own: the full
  // rewrite took it away with lines that a switched-off rule leaves as they were.
  auto addedToScript = [&](const StructureFinding& finding) {
    if (finding.kind != FindingKind::blockProblem) {
      return std::any_of(added.begin(), added.end(), [&](const StructureFinding& addition) {
        return addition.kind == finding.kind && addition.name == finding.name;
      });
    }
    const std::string_view place = placeOf(variant, finding.name);
    return std::any_of(added.begin(), added.end(), [&](const StructureFinding& addition) {
      return addition.kind == finding.kind && addition.problem == finding.problem &&
             placeOf(variant, addition.name) == place;
    });
  };
  std::vector<StructureFinding> faults;
  for (StructureFinding& finding : findingsAgainst(variant, full_)) {
    if (addedToScript(finding) && !fullRewriteFailsThere(variant, finding)) faults.push_back(std::move(finding));
  }
  return faults;
}

std::vector<std::string> VariantSoundness::unsoundIn(std::string_view variant) const {
  std::vector<std::string> lines;
  for (const StructureFinding& finding : faultsOf(scanScript(variant))) {
    lines.push_back(describeFinding(finding, "the full rewrite"));
  }
  return lines;
}

}  // namespace aplpatch
