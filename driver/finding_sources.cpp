#include "driver/finding_sources.h"

#include <algorithm>
#include <optional>

#include "engine/line_origins.h"
#include "rules/features.h"
#include "rules/rule_table.h"

namespace aplpatch {

namespace {

constexpr const char* kAlwaysOn = "always-on";

// The lines of the rewrite that make up a finding.
std::vector<int> linesOf(const StructureFinding& finding) {
  std::vector<int> lines = finding.lines;
  if (finding.entryLine > 0) lines.push_back(finding.entryLine);
  if (finding.closeLine > 0) lines.push_back(finding.closeLine);
  return lines;
}

}  // namespace

std::string featureOfRuleNamed(const char* rule) {
  std::optional<Feature> feature = featureOfRule(rule);
  return feature ? std::string(featureName(*feature)) : std::string(kAlwaysOn);
}

bool readPast(const ReadOn& readOn, int line) { return readOn.fromLine < line && line <= readOn.toLine; }

std::string featureBehind(const StructureFinding& finding, const RewriteReport& report) {
  if (finding.kind == FindingKind::labelLost) {
    // The lines are the generated script's: a line that went, went with a rule's read-on.
    for (int line : finding.lines) {
      for (const ReadOn& readOn : report.readOns.kept()) {
        if (readPast(readOn, line)) return featureOfRuleNamed(readOn.rule);
      }
    }
    return kAlwaysOn;
  }
  for (int line : linesOf(finding)) {
    const char* rule = report.origins.rule(report.origins.of(line));
    if (rule != nullptr) return featureOfRuleNamed(rule);
  }
  return "";
}

std::string findingSource(const std::string& feature) {
  return feature.empty() ? " (as generated)" : " (added by " + feature + ")";
}

std::string findingsAdvice(const std::vector<std::string>& features, const std::string& knownFile) {
  const std::string settingsFile = knownFile.empty() ? "aplpatch.ini" : knownFile;
  std::vector<std::string> switchable;
  for (const std::string& feature : features) {
    if (feature.empty() || feature == kAlwaysOn) continue;
    if (std::find(switchable.begin(), switchable.end(), feature) == switchable.end()) switchable.push_back(feature);
  }
  if (switchable.empty()) {
    return "if the compiler rejects this flight, send this log with the flight: no setting in " + settingsFile +
           " switches off the lines named above";
  }
  std::string settings;
  for (std::size_t i = 0; i < switchable.size(); ++i) {
    if (i > 0) settings += i + 1 == switchable.size() ? " and " : ", ";
    settings += switchable[i] + " = off";
  }
  return "if the compiler rejects this flight, set " + settings + " in the settings file " + settingsFile +
         " ([features]), or send this log with the flight";
}

}  // namespace aplpatch
