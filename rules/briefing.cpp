#include "rules/briefing.h"

#include <string>
#include <vector>

namespace aplpatch {

namespace {

std::string quoted(std::string_view text) {
  std::string result = "\"";
  result.append(text);
  result.push_back('"');
  return result;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// `count` and the thing counted, in the singular or the plural.
std::string counted(int count, std::string_view one, std::string_view many) {
  std::string text = std::to_string(count);
  text.push_back(' ');
  text.append(count == 1 ? one : many);
  return text;
}

std::string keyList(const std::vector<std::string>& codes) {
  std::string text;
  for (const std::string& code : codes) {
    if (!text.empty()) text.append(" or ");
    text.append(keyName(code));
  }
  return text;
}

// The parts of a feature's line that are not empty, joined; "nothing in this script" when all are.
std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!text.empty()) text.append(", ");
    text.append(part);
  }
  return text.empty() ? "nothing in this script" : text;
}

// A count worth naming, or nothing.
std::string ifAny(int count, std::string_view one, std::string_view many) {
  return count > 0 ? counted(count, one, many) : std::string();
}

std::string keysPart(const std::vector<std::string>& codes) {
  if (codes.empty()) return {};
  std::string text = codes.size() == 1 ? "key " : "keys ";
  text.append(keyList(codes));
  return text;
}

std::string groundSupervisions(const Additions& added) {
  const std::pair<int, std::string_view> kinds[] = {
      {added.pushbackSupervisions, "pushback"},
      {added.taxiSupervisions, "taxi"},
      {added.lineUpHolds, "line-up hold"},
      {added.runwayAlignmentSupervisions, "runway alignment"},
      {added.takeoffSupervisions, "take-off"},
      {added.vacateSupervisions, "runway vacating"},
  };
  int total = 0;
  std::string detail;
  for (const auto& [count, kind] : kinds) {
    if (count == 0) continue;
    total += count;
    if (!detail.empty()) detail.append(", ");
    detail.append(kind);
    detail.push_back(' ');
    detail.append(std::to_string(count));
  }
  if (total == 0) return {};
  std::string text = counted(total, "supervision", "supervisions");
  text.append(" (");
  text.append(detail);
  text.push_back(')');
  return text;
}

// What `feature` added, from the counts of the rules that belong to it.
std::string whatWasAdded(Feature feature, const Additions& added) {
  switch (feature) {
    case Feature::descentRequest:
      return joined({keysPart(added.descentRequestKeys),
                     ifAny(added.topOfDescentBlocks, "top-of-descent block",
                           "top-of-descent blocks")});
    case Feature::transponderChanges:
      return joined({ifAny(added.transponderChangePoints, "transponder-change point",
                           "transponder-change points")});
    case Feature::holdingSupervision:
      return joined({ifAny(added.supervisedHoldingLoops, "supervised holding loop",
                           "supervised holding loops")});
    case Feature::approachTracking:
      return joined({ifAny(added.centreReplays, "centre replay", "centre replays"),
                     ifAny(added.interceptTurns, "intercept turn", "intercept turns"),
                     ifAny(added.supervisedApproachLoops, "supervised approach loop",
                           "supervised approach loops")});
    case Feature::groundSupervision:
      return joined({groundSupervisions(added)});
    case Feature::clearanceWithdrawal:
      return joined({ifAny(added.clearanceWithdrawals, "supervision can end the adventure",
                           "supervisions can end the adventure")});
    case Feature::missedApproach:
      return joined({keysPart(added.missedApproachKeys),
                     ifAny(added.forcedMissedApproachChecks, "forced missed-approach check",
                           "forced missed-approach checks")});
    case Feature::altitudeReminders:
      return joined({ifAny(added.altitudeChecks, "altitude check", "altitude checks")});
    case Feature::windAnnouncements:
      return joined({ifAny(added.windAnnouncements, "wind announcement", "wind announcements")});
    case Feature::radioCalls:
      return joined({ifAny(added.trafficInformation, "traffic call with traffic information",
                           "traffic calls with traffic information"),
                     ifAny(added.gatedRadioCalls, "radio-call sound at six in ten",
                           "radio-call sounds at six in ten")});
  }
  return {};
}

std::string keysLine(const Additions& added) {
  const std::pair<const std::vector<std::string>*, std::string_view> bindings[] = {
      {&added.descentRequestKeys, " requests the descent"},
      {&added.missedApproachKeys, " flies a missed approach"},
      {&added.lineUpKeys, " calls the line-up clearance"},
  };
  std::string line = "Keys:";
  bool any = false;
  for (const auto& [codes, use] : bindings) {
    if (codes->empty()) continue;
    line.append(any ? "; " : " ");
    line.append(keyList(*codes));
    line.append(use);
    any = true;
  }
  line.append(any ? ".\n" : " none added.\n");
  return line;
}

}  // namespace

std::string keyName(std::string_view code) {
  code = trimmed(code);
  bool number = !code.empty() && code.size() <= 3;
  for (char c : code) number = number && c >= '0' && c <= '9';
  if (!number) {
    if (code.size() == 1) return quoted(code);
    std::string text = "KV(";
    text.append(code);
    text.push_back(')');
    return text;
  }

  const int value = std::stoi(std::string(code));
  if ((value >= 'A' && value <= 'Z') || (value >= '0' && value <= '9')) {
    return quoted(std::string(1, static_cast<char>(value)));
  }
  // The function keys F1 to F24 follow one another from 112 on.
  if (value >= 112 && value <= 135) {
    return quoted(std::string(1, 'F').append(std::to_string(value - 111)));
  }
  if (value == 32) return "Space";
  return std::string("key code ").append(std::to_string(value));
}

std::string keysSummary(const Additions& added) {
  const std::pair<const std::vector<std::string>*, std::string_view> bindings[] = {
      {&added.descentRequestKeys, " descent request"},
      {&added.missedApproachKeys, " missed approach"},
      {&added.lineUpKeys, " line-up"},
  };
  std::string text;
  for (const auto& [codes, use] : bindings) {
    if (codes->empty()) continue;
    if (!text.empty()) text.append(", ");
    for (std::size_t i = 0; i < codes->size(); ++i) {
      if (i > 0) text.append(" or ");
      // Short, without the quotes the briefing puts around a key.
      std::string name = keyName((*codes)[i]);
      if (name.size() > 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
      text.append(name);
    }
    text.append(use);
  }
  return text.empty() ? "none added" : text;
}

std::string flightBriefing(const RewriteReport& report) {
  std::string text = "Briefing for this flight:\n";
  text.append(keysLine(report.added));
  for (const FeatureInfo& info : featureTable()) {
    text.append(info.name);
    text.append(": ");
    text.append(report.switches.isOn(info.feature) ? whatWasAdded(info.feature, report.added)
                                                  : "off");
    text.push_back('\n');
  }
  return text;
}

}  // namespace aplpatch
