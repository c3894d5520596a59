#pragma once

#include <string_view>

namespace aplpatch {

// How a platform spells paths.
struct PathStyle {
  char separator;                   // put between a folder and a name inside it
  std::string_view nameSeparators;  // a path's file name is what follows the last of these
};

inline constexpr PathStyle kPosixPathStyle{'/', "\\/"};
// Windows takes both slashes as separators, and a drive letter's colon ends a drive-relative
// prefix ("C:F.APL"); left in a name, the colon would name an alternate data stream instead.
inline constexpr PathStyle kWindowsPathStyle{'\\', "\\/:"};

// What follows the last name separator of `path` (the whole path when it has none).
inline std::string_view fileNameOf(std::string_view path, const PathStyle& style) {
  std::size_t last = path.find_last_of(style.nameSeparators);
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

}  // namespace aplpatch
