#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "structure/script_structure.h"
#include "structure/structure_compare.h"

namespace aplpatch {

// A script as the host generated it and its full rewrite, against which rewrites of the same script
// with some features switched off (variants) are judged. A variant may leave out what the full
// rewrite adds; it is unsound where it adds to the generated script a fault that the full rewrite
// does not have at that place. The full rewrite's own faults count there too: a label of the
// generated script that it lost, and a block that it pairs across the entry of a subroutine, which
// in truth leaves its opener open and its closer unpaired.
class VariantSoundness {
 public:
  // Both scripts as bytes, CR LF or LF line ends.
  VariantSoundness(std::string_view generated, std::string_view fullRewrite);

  // Where `variant` is less sound than the full rewrite, in line order; empty when it is sound
  // wherever the full rewrite is.
  std::vector<StructureFinding> faultsOf(const ScriptStructure& variant) const;
  // The same for the variant's bytes, one plain line each.
  std::vector<std::string> unsoundIn(std::string_view variant) const;

 private:
  // Where the variant's label `label` (or "" for none) lies in all three scripts: that label, or
  // the nearest one before it that the full rewrite and the generated script define too.
  std::string_view placeOf(const ScriptStructure& variant, std::string_view label) const;
  // Whether the full rewrite's own faults cover `finding` of `variant` (found against the full
  // rewrite).
  bool fullRewriteFailsThere(const ScriptStructure& variant, const StructureFinding& finding) const;

  ScriptStructure generated_;
  ScriptStructure full_;
  std::vector<StructureFinding> fullAdds_;  // what the full rewrite adds to the generated script
};

}  // namespace aplpatch
