#include "rules/features.h"

#include <cstddef>

#include "base/ascii_case.h"

namespace aplpatch {

namespace {

constexpr FeatureInfo kFeatures[] = {
    {Feature::descentRequest, "descent-request",
     "The extra key asks for the descent before the top of descent; the descent happens once."},
    {Feature::transponderChanges, "transponder-changes",
     "Now and then the centre gives you a new squawk code and later checks that you set it."},
    {Feature::holdingSupervision, "holding-supervision",
     "Timed holding turns: off course with wings level, you hear the course again."},
    {Feature::approachTracking, "approach-tracking",
     "Centre vectors repeated on the way to the VOR, an intercept turn, timed approach checks."},
    {Feature::groundSupervision, "ground-supervision",
     "Reminders at pushback, taxi, line-up, take-off and vacating; the cabin and speed rules."},
    {Feature::clearanceWithdrawal, "clearance-withdrawal",
     "No reaction to the ground reminders ends the adventure; off, the reminders just go on."},
    {Feature::missedApproach, "missed-approach",
     "A key flies a missed approach; below 750 above ground before tower contact one is forced."},
    {Feature::altitudeReminders, "altitude-reminders",
     "Altitude reminders that take your vertical speed into account."},
    {Feature::windAnnouncements, "wind-announcements",
     "The wind speed is announced at take-off, the wind direction only when there is wind."},
    {Feature::radioCalls, "radio-calls",
     "Traffic information after the traffic call; the radio-call signal only six times in ten."},
};

constexpr bool listedInEnumOrder() {
  for (std::size_t i = 0; i < std::size(kFeatures); ++i) {
    if (static_cast<std::size_t>(kFeatures[i].feature) != i) return false;
  }
  return true;
}
static_assert(listedInEnumOrder(), "the table lists each feature once, at its enum's place");

}  // namespace

std::span<const FeatureInfo> featureTable() { return kFeatures; }

const FeatureInfo* findFeature(std::string_view name) {
  for (const FeatureInfo& info : kFeatures) {
    if (equalIgnoringAsciiCase(info.name, name)) return &info;
  }
  return nullptr;
}

std::string_view featureName(Feature feature) {
  return kFeatures[static_cast<std::size_t>(feature)].name;
}

std::vector<Feature> FeatureSwitches::switchedOff() const {
  std::vector<Feature> off;
  for (const FeatureInfo& info : kFeatures) {
    if (!isOn(info.feature)) off.push_back(info.feature);
  }
  return off;
}

}  // namespace aplpatch
