#include "driver/finding_sources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace aplpatch {
namespace {

// A rewrite of five lines: line 2 written by a rule of approach tracking, line 4 by one that no
// switch controls, the rest as read; one read-on of approach tracking past lines 11 to 14.
RewriteReport fiveLineRewrite() {
  RewriteReport report;
  report.origins.nameRules({"captureCenterLine", "keepDepartureKey"});
  report.origins.setLines(5);
  report.origins.mark(2, 2, 1);
  report.origins.mark(4, 4, 2);
  report.readOns.add({"startCenterCapture", 10, 14, "ENDIF", true});
  return report;
}

StructureFinding findingAt(std::vector<int> lines, FindingKind kind = FindingKind::missingTarget) {
  StructureFinding finding;
  finding.kind = kind;
  finding.lines = std::move(lines);
  return finding;
}

TEST(FindingSources, NamesTheFeatureOfTheFirstLineARuleWrote) {
  const RewriteReport report = fiveLineRewrite();
  StructureFinding acrossEntry = findingAt({1}, FindingKind::blockProblem);
  acrossEntry.entryLine = 3;
  acrossEntry.closeLine = 4;
  const struct {
    StructureFinding finding;
    std::string feature;
  } cases[] = {
      {findingAt({1, 2, 4}), "approach-tracking"},
      {findingAt({4, 2}), "always-on"},
      {findingAt({1, 3, 5}), ""},
      {findingAt({9}), ""},  // past the rewrite
      {acrossEntry, "always-on"},
      // A label lost: its line is the generated script's, and went with the read-on past it.
      {findingAt({12}, FindingKind::labelLost), "approach-tracking"},
      {findingAt({10}, FindingKind::labelLost), "always-on"},  // the read-on began on its pass
      {findingAt({2}, FindingKind::labelLost), "always-on"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.finding.lines.front());
    EXPECT_EQ(featureBehind(c.finding, report), c.feature);
  }
  EXPECT_EQ(findingSource("radio-calls"), " (added by radio-calls)");
  EXPECT_EQ(findingSource(""), " (as generated)");
}

TEST(FindingSources, AdviceNamesEachSwitchableFeatureOnceInTheOrderNamed) {
  const std::string path = "C:\\aplpatch\\aplpatch.ini";
  const std::string sendLog = "if the compiler rejects this flight, send this log with the flight: no setting in " +
                              path + " switches off the lines named above";
  const struct {
    std::vector<std::string> features;
    std::string advice;
  } cases[] = {
      {{"always-on", "", "always-on"}, sendLog},
      {{"radio-calls", "always-on", "radio-calls"},
       "if the compiler rejects this flight, set radio-calls = off in the settings file " + path +
           " ([features]), or send this log with the flight"},
      {{"radio-calls", "", "missed-approach", "radio-calls", "holding-supervision"},
       "if the compiler rejects this flight, set radio-calls = off, missed-approach = off and "
       "holding-supervision = off in the settings file " +
           path + " ([features]), or send this log with the flight"},
  };
  for (const auto& c : cases) EXPECT_EQ(findingsAdvice(c.features, path), c.advice);
  EXPECT_NE(findingsAdvice({"radio-calls"}, "").find(" aplpatch.ini "), std::string::npos)
      << "a settings file whose place is not known is named all the same";
}

}  // namespace
}  // namespace aplpatch
