#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace aplpatch {

// The additions a pilot can switch off, one by one. What repairs the host's script, or is needed by
// what stays, has no switch and always runs.
enum class Feature : std::uint8_t {
  descentRequest,
  transponderChanges,
  holdingSupervision,
  approachTracking,
  groundSupervision,
  clearanceWithdrawal,
  missedApproach,
  altitudeReminders,
  windAnnouncements,
  radioCalls,
};

// A feature as the settings file spells it, with what it gives a flight in the pilot's words.
struct FeatureInfo {
  Feature feature;
  std::string_view name;
  std::string_view explanation;
};

// Every feature, once, in the order of the enum: the order in which they are listed and printed.
std::span<const FeatureInfo> featureTable();

// The feature named `name` (letter case aside), or nullptr when there is none.
const FeatureInfo* findFeature(std::string_view name);

// The settings-file name of `feature`.
std::string_view featureName(Feature feature);

// Which features a rewrite gives the flight: all are on unless switched off.
class FeatureSwitches {
 public:
  bool isOn(Feature feature) const { return (off_ & bit(feature)) == 0; }
  void set(Feature feature, bool on) { off_ = on ? off_ & ~bit(feature) : off_ | bit(feature); }
  bool allOn() const { return off_ == 0; }
  // The features switched off, in the order of the table.
  std::vector<Feature> switchedOff() const;

  bool operator==(const FeatureSwitches&) const = default;

 private:
  static std::uint32_t bit(Feature feature) {
    return std::uint32_t{1} << static_cast<int>(feature);
  }

  std::uint32_t off_ = 0;  // one bit per feature that is off
};

}  // namespace aplpatch
