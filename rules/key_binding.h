#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace aplpatch {

// The key code of a key binding, "ONKEY KV(<code>)": the text between the "(" and the next ")".
// None when the line binds no key that way.
inline std::optional<std::string_view> boundKeyCode(std::string_view line) {
  constexpr std::string_view kBinding = "ONKEY KV(";
  const std::size_t at = line.find(kBinding);
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t start = at + kBinding.size();
  const std::size_t end = line.find(')', start);
  if (end == std::string_view::npos) return std::nullopt;
  return line.substr(start, end - start);
}

// Keeps `code` among `codes`, once.
inline void noteKeyCode(std::vector<std::string>& codes, std::string_view code) {
  if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.emplace_back(code);
}

}  // namespace aplpatch
