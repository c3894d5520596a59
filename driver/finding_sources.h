#pragma once

#include <string>
#include <vector>

#include "engine/read_on.h"
#include "rules/rewrite_script.h"
#include "structure/structure_compare.h"

namespace aplpatch {

// Who in the rewrite stands behind what the structure check found, for the run's log.

// The settings name of the feature that the rule named `rule` belongs to, or "always-on" for a rule
// that no switch controls.
std::string featureOfRuleNamed(const char* rule);

// Whether `readOn` read past `line` of the script: a line after the one whose pass it began on, up
// to the last it read.
bool readPast(const ReadOn& readOn, int line);

// The feature behind `finding` (see featureOfRuleNamed()), or "" when its lines are as generated:
// the first of its lines in the rewrite that a rule wrote or changed, or for a label lost, the rule
// that read past its line (one that changed the line on its own pass is not known: always-on).
std::string featureBehind(const StructureFinding& finding, const RewriteReport& report);

// What the log appends to a finding: " (added by NAME)", or " (as generated)" for "".
std::string findingSource(const std::string& feature);

// The line of advice after findings that named `features` (in the order named, "always-on" among
// them or not): which settings to switch off in `settingsFile` if the compiler rejects the flight,
// or else to send the log.
std::string findingsAdvice(const std::vector<std::string>& features, const std::string& settingsFile);

}  // namespace aplpatch
