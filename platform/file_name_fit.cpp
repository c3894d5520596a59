#include "platform/file_name_fit.h"

#include <cstdint>
#include <cstdio>

namespace aplpatch {

namespace {

// "~" and eight hexadecimal digits.
constexpr std::size_t kHashLength = 9;

// FNV-1a, 32 bits: enough to tell apart the few long names of one folder.
std::uint32_t hashOf(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char byte : text) {
    hash ^= byte;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

std::string fittedStem(std::string_view name, std::size_t suffixLength) {
  if (name.size() + suffixLength <= kLongestFileName) return std::string(name);
  std::size_t keep = kLongestFileName > suffixLength + kHashLength ? kLongestFileName - suffixLength - kHashLength : 0;
  if (keep > name.size()) keep = name.size();
  // Never in the middle of a UTF-8 character: continuation bytes are 10xxxxxx.
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  char hash[kHashLength + 1];
  std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(hashOf(name)));
  return std::string(name.substr(0, keep)) + hash;
}

}  // namespace aplpatch
