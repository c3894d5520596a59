#pragma once

#include <random>
#include <string>
#include <string_view>

#include "platform/file_name_fit.h"

namespace aplpatch {

// Up to how many names a temporary file tries before giving up.
inline constexpr int kTemporaryNameAttempts = 100;

// What a temporary adds to its target's name: ".", eight letters and digits, ".tmp".
inline constexpr std::size_t kTemporarySuffixLength = 13;

// A name for a temporary beside `target`, in its folder: the target's name, eight random letters
// and digits, and ".tmp" ("F.APL.k3x9q0ab.tmp"), the target's name shortened by fittedStem() where
// the whole would be too long for one name. `separators` are those of the system's paths.
inline std::string temporaryNameBeside(const std::string& target, std::string_view separators,
                                       std::mt19937_64& random) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::size_t last = target.find_last_of(separators);
  std::size_t nameStart = last == std::string::npos ? 0 : last + 1;
  std::string name = target.substr(0, nameStart) +
                     fittedStem(std::string_view(target).substr(nameStart), kTemporarySuffixLength) + ".";
  for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name + ".tmp";
}

// Whether `entry` (a name in a folder) is a name that temporaryNameBeside() gives a temporary of
// the file named `targetName` in the same folder.
inline bool isTemporaryNameOf(std::string_view entry, std::string_view targetName) {
  std::string stem = fittedStem(targetName, kTemporarySuffixLength);
  if (entry.size() != stem.size() + kTemporarySuffixLength || !entry.starts_with(stem)) return false;
  std::string_view rest = entry.substr(stem.size());
  if (!rest.starts_with('.') || !rest.ends_with(".tmp")) return false;
  for (char c : rest.substr(1, 8)) {
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace aplpatch
