#pragma once

#include <random>
#include <string>

namespace aplpatch {

// Up to how many names a temporary file tries before giving up.
inline constexpr int kTemporaryNameAttempts = 100;

// A name for a temporary beside `target`, in its folder: the target's name, eight random letters
// and digits, and ".tmp" ("F.APL.k3x9q0ab.tmp").
inline std::string temporaryNameBeside(const std::string& target, std::mt19937_64& random) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = target + ".";
  for (int i = 0; i < 8; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
  return name + ".tmp";
}

}  // namespace aplpatch
