#include "driver/settings_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "base/ascii_case.h"
#include "base/nearest_name.h"
#include "driver/utf16_text.h"

namespace aplpatch {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kFeaturesSection = "features";
constexpr std::string_view kRunSection = "run";

constexpr RunSetting kRunSettings[] = {
    {"fallback", &RunSwitches::fallback,
     "When the compiler rejects the rewritten flight, compile the flight as generated instead."},
    {"patch", &RunSwitches::patch,
     "Off hands every flight to the compiler as generated, without any addition (a backup is still made)."},
};
// How much of a line a problem quotes: enough to recognise it, never a screenful.
constexpr std::size_t kQuotedLength = 40;

enum class Section : std::uint8_t {
  features,  // inside [features], or before the first heading
  run,       // inside [run]
  other,     // inside another section
};

// Every way of saying on and off that a settings file may use, in the order a problem lists them.
constexpr std::pair<std::string_view, bool> kValueWords[] = {
    {"on", true},   {"off", false}, {"true", true}, {"false", false},       {"yes", true},
    {"no", false},  {"1", true},    {"0", false},   {"enabled", true},      {"disabled", false},
};
constexpr std::string_view kValueWordList = "on/off, true/false, yes/no, 1/0 or enabled/disabled";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// `text` in quotes for a console line: cut short, and with control bytes shown as '?', so that a
// file of another kind cannot fill or steer the console.
std::string quoted(std::string_view text) {
  std::string result = "\"";
  for (std::size_t i = 0; i < text.size() && i < kQuotedLength; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    result.push_back(byte < 0x20 || byte == 0x7F ? '?' : text[i]);
  }
  if (text.size() > kQuotedLength) result.append("...");
  result.push_back('"');
  return result;
}

// The line without a comment that follows its content.
std::string_view withoutComment(std::string_view line) {
  return trimmed(line.substr(0, line.find_first_of(";#")));
}

// `value` without the quotes an editor or a habit may put around it.
std::string_view unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
    return trimmed(value.substr(1, value.size() - 2));
  return value;
}

std::optional<bool> onOrOff(std::string_view value) {
  for (const auto& [word, on] : kValueWords) {
    if (equalIgnoringAsciiCase(value, word)) return on;
  }
  return std::nullopt;
}

// "unknown feature "wind"; ignored", with the feature it was most likely meant to be.
std::string unknownFeature(std::string_view name) {
  std::vector<std::string_view> names;
  for (const FeatureInfo& info : featureTable()) names.push_back(info.name);
  std::string what = "unknown feature " + quoted(name);
  std::string_view nearest = nearestName(name, names);
  if (!nearest.empty()) what.append(" (did you mean ").append(nearest).append("?)");
  return what.append("; ignored");
}

// Reads the lines one by one into `reading`.
class SettingsReader {
 public:
  explicit SettingsReader(SettingsReading& reading) : reading_(reading) {}

  void readLine(int number, std::string_view line) {
    line = withoutComment(line);
    if (line.empty()) return;
    if (line.front() == '[') {
      readHeading(number, line);
      return;
    }
    std::size_t equals = line.find('=');
    std::string_view name = equals == std::string_view::npos ? std::string_view() : trimmed(line.substr(0, equals));
    if (name.empty()) {
      problem(number, quoted(line) + " is not a setting (name = on or off); ignored");
      return;
    }
    if (section_ == Section::run) {
      readRunSetting(number, name, trimmed(line.substr(equals + 1)));
      return;
    }
    if (section_ == Section::other) {
      problem(number, quoted(line) + " is outside [features]; ignored");
      return;
    }
    readSetting(number, name, trimmed(line.substr(equals + 1)));
  }

 private:
  void readHeading(int number, std::string_view line) {
    if (line.back() != ']') {
      problem(number, quoted(line) + " is not a setting or a [section] heading; ignored");
      return;
    }
    std::string_view name = trimmed(line.substr(1, line.size() - 2));
    section_ = equalIgnoringAsciiCase(name, kFeaturesSection) ? Section::features
               : equalIgnoringAsciiCase(name, kRunSection)    ? Section::run
                                                              : Section::other;
  }

  void readRunSetting(int number, std::string_view name, std::string_view value) {
    for (const RunSetting& setting : kRunSettings) {
      if (!equalIgnoringAsciiCase(name, setting.name)) continue;
      value = unquoted(value);
      std::optional<bool> on = onOrOff(value);
      if (!on) {
        std::string what(setting.name);
        what.append(value.empty() ? " has no value"
                                  : " = " + quoted(value) + " is none of " + std::string(kValueWordList));
        problem(number, what + "; ignored");
        return;
      }
      reading_.run.*setting.value = *on;
      return;
    }
    problem(number, "unknown setting " + quoted(name) + " in [run]; ignored");
  }

  void readSetting(int number, std::string_view name, std::string_view value) {
    const FeatureInfo* feature = findFeature(name);
    if (feature == nullptr) {
      problem(number, unknownFeature(name));
      return;
    }
    value = unquoted(value);
    std::optional<bool> on = onOrOff(value);
    int& earlier = setOnLine_[static_cast<std::size_t>(feature->feature)];
    if (!on) {
      std::string what(feature->name);
      if (value.empty())
        what.append(" has no value");
      else
        what.append(" = ").append(quoted(value)).append(" is none of ").append(kValueWordList);
      // What the line leaves the feature at, whatever an earlier line set: said, so that nobody
      // takes a misspelt "off" for one that counts.
      if (reading_.switches.isOn(feature->feature))
        what.append("; ").append(feature->name).append(" stays on");
      else
        what.append("; ").append(feature->name).append(" stays off, as line ").append(std::to_string(earlier)).append(" set it");
      problem(number, what);
      return;
    }
    if (earlier != 0) {
      std::string what(feature->name);
      what.append(" is set again (first on line ").append(std::to_string(earlier)).append("); this line counts");
      problem(number, what);
    }
    earlier = number;
    reading_.switches.set(feature->feature, *on);
  }

  void problem(int number, std::string what) { reading_.problems.push_back({number, std::move(what)}); }

  SettingsReading& reading_;
  Section section_ = Section::features;
  // Per feature (FeatureSwitches holds at most 32), the line that last set it; 0 while none has.
  std::array<int, 32> setOnLine_{};
};

}  // namespace

SettingsReading readSettingsText(std::string_view text) {
  SettingsReading reading;
  // Notepad's "Unicode" saves two bytes a letter; the names and values are ASCII in any form.
  std::string decoded;
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    const Utf16Order order = text.front() == '\xFF' ? Utf16Order::littleEndian : Utf16Order::bigEndian;
    decoded = utf16ToUtf8(text.substr(2), order);
    text = decoded;
  }
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());

  SettingsReader reader(reading);
  int number = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    reader.readLine(++number, line);
  }
  return reading;
}

std::span<const RunSetting> runSettingTable() { return kRunSettings; }

std::string settingsFileText(const FeatureSwitches& switches, const RunSwitches& run) {
  std::string text =
      "; Settings of aplpatch, read at every run: which additions the rewrite gives a flight.\r\n"
      "; One feature a line, \"name = on\" or \"name = off\"; off leaves that addition out.\r\n"
      "; Lines that start with ; or # are comments. aplpatch --settings shows what this file sets.\r\n"
      "[features]\r\n";
  for (const FeatureInfo& info : featureTable()) {
    text.append("\r\n; ").append(info.explanation).append("\r\n");
    text.append(info.name).append(switches.isOn(info.feature) ? " = on\r\n" : " = off\r\n");
  }
  text.append("\r\n; How aplpatch treats every flight.\r\n[run]\r\n");
  for (const RunSetting& setting : kRunSettings) {
    text.append("\r\n; ").append(setting.explanation).append("\r\n");
    text.append(setting.name).append(run.*setting.value ? " = on\r\n" : " = off\r\n");
  }
  return text;
}

}  // namespace aplpatch
