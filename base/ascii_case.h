#pragma once

#include <string_view>

namespace aplpatch {

// Letter case of ASCII text. The names the program compares without case (feature names, the
// settings file's words, the folders Windows redirects) are ASCII; a byte above 127 is no letter
// here and is compared as it is.
inline constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline constexpr bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace aplpatch
