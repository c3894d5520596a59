#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ascii_case.h"

namespace aplpatch {

// A name as a person may mean it: ASCII letters in lower case, '_' and ' ' read as '-'.
inline std::string looseName(std::string_view name) {
  std::string loose;
  loose.reserve(name.size());
  for (char c : name) loose.push_back(c == '_' || c == ' ' ? '-' : asciiLower(c));
  return loose;
}

// How many single letters must be put in, left out or changed to turn `a` into `b`.
inline std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The one of `names` that `typed` was most likely meant to be: the same name written another way
// ("Clearance_Withdrawal"), one a slip or two away ("clearence-withdrawal", "--hlep"), or one that
// `typed` begins ("wind"). Empty when none is that near; the first of equally near names wins.
inline std::string_view nearestName(std::string_view typed, std::span<const std::string_view> names) {
  const std::string loose = looseName(typed);
  std::string_view nearest;
  std::size_t best = static_cast<std::size_t>(-1);
  for (std::string_view name : names) {
    const std::string candidate = looseName(name);
    std::size_t distance = editDistance(loose, candidate);
    // A beginning of three letters or more names the feature it begins as well as a slip does.
    if (loose.size() >= 3 && candidate.starts_with(loose)) distance = std::min<std::size_t>(distance, 1);
    const std::size_t allowed = std::max<std::size_t>(2, candidate.size() / 6);
    if (distance <= allowed && distance < best) {
      best = distance;
      nearest = name;
    }
  }
  return nearest;
}

}  // namespace aplpatch
