#include "driver/lost_labels.h"

#include <cstddef>

#include "driver/finding_sources.h"

namespace aplpatch {

namespace {

// Names shown on a console line; the log lists more.
constexpr std::size_t kNamesShown = 5;
constexpr std::size_t kNamesLogged = 20;

std::string countOf(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " label" : " labels");
}

// "ENDE, MISSED_APP, ..." with at most `shown` names.
std::string firstNames(const std::vector<LostLabel>& lost, std::size_t shown) {
  std::string names;
  for (std::size_t i = 0; i < lost.size() && i < shown; ++i) {
    if (i > 0) names.append(", ");
    names.append(lost[i].name);
  }
  if (lost.size() > shown) names.append(", ...");
  return names;
}

}  // namespace

std::string lostLabelsConsoleLine(const std::vector<LostLabel>& lost, const std::string& script,
                                  const std::string& keptAs) {
  return "The rewrite lost " + countOf(lost.size()) + " of " + script + " (" + firstNames(lost, kNamesShown) +
         "): " + script + " is compiled as generated, the rewrite is kept as " + keptAs + ".\n";
}

std::string lostLabelsPreviewLine(const std::vector<LostLabel>& lost, const std::string& script) {
  return "A run would compile " + script + " as generated: the rewrite loses " + countOf(lost.size()) + " of it (" +
         firstNames(lost, kNamesShown) + ").\n";
}

std::vector<std::string> lostLabelsLogLines(const std::vector<LostLabel>& lost, const ReadOnLog& readOns) {
  std::vector<std::string> lines;
  std::string list = "labels lost by the rewrite: ";
  for (std::size_t i = 0; i < lost.size() && i < kNamesLogged; ++i) {
    if (i > 0) list.append(", ");
    list.append(lost[i].name).append(" (line ").append(std::to_string(lost[i].line)).append(")");
  }
  if (lost.size() > kNamesLogged) list.append(" and ").append(std::to_string(lost.size() - kNamesLogged)).append(" more");
  lines.push_back(std::move(list));

  // Each read-on that went past a lost label, once, in the order of the rewrite.
  std::vector<bool> explained(lost.size(), false);
  for (const ReadOn& readOn : readOns.kept()) {
    bool pastOne = false;
    for (std::size_t i = 0; i < lost.size(); ++i) {
      if (readPast(readOn, lost[i].line)) explained[i] = pastOne = true;
    }
    if (!pastOne) continue;
    std::string line = "  lines " + std::to_string(readOn.fromLine) + " to " + std::to_string(readOn.toLine) +
                       ": a rule of " + featureOfRuleNamed(readOn.rule) + " read on for a line holding \"" +
                       std::string(readOn.sought) + "\"";
    line.append(readOn.found ? " and found it at line " + std::to_string(readOn.toLine)
                             : " and met the end of the script first");
    lines.push_back(std::move(line));
  }
  std::size_t unexplained = 0;
  for (std::size_t i = 0; i < lost.size(); ++i) {
    if (!explained[i] && ++unexplained <= kNamesShown)
      lines.push_back("  line " + std::to_string(lost[i].line) + " (" + lost[i].name +
                      "): no rule read past it; a rule changed it on its own pass");
  }
  if (unexplained > kNamesShown)
    lines.push_back("  and " + std::to_string(unexplained - kNamesShown) + " more labels changed on their own passes");
  return lines;
}

}  // namespace aplpatch
