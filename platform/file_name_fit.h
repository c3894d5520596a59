#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace aplpatch {

// The longest name of one file or folder that the usual file systems take: 255 characters on NTFS,
// 255 bytes on ext4. A name is counted here in UTF-8 bytes, which is never fewer than its characters.
inline constexpr std::size_t kLongestFileName = 255;

// The part of the name `name` to put in front of a suffix of `suffixLength` bytes so that the two
// together fit kLongestFileName: `name` itself when they fit; otherwise `name` cut at a character
// boundary, then "~" and eight hexadecimal digits of a hash of the whole of `name`, so that two long
// names that begin alike keep names of their own. Always the same for the same `name`.
std::string fittedStem(std::string_view name, std::size_t suffixLength);

// fittedStem() followed by `suffix`.
inline std::string fittedName(std::string_view name, std::string_view suffix) {
  return fittedStem(name, suffix.size()) + std::string(suffix);
}

}  // namespace aplpatch
