#pragma once

#include <string>
#include <string_view>

namespace aplpatch {

// The three line tests of the rules. All are case-sensitive byte comparisons.
inline bool contains(std::string_view line, std::string_view text) {
  return line.find(text) != std::string_view::npos;
}

inline bool startsWith(std::string_view line, std::string_view text) {
  return line.size() >= text.size() && line.compare(0, text.size(), text) == 0;
}

inline bool equals(std::string_view line, std::string_view text) { return line == text; }

// Turns the ASCII letters a to z into capitals; every other byte stays as it is.
inline void upcaseAscii(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

}  // namespace aplpatch
