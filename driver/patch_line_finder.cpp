#include "driver/patch_line_finder.h"

#include <string_view>

#include "rules/header/patch_description.h"

namespace aplpatch {

void PatchLineFinder::feed(const char* data, std::size_t size) {
  // Longest line worth keeping: the description and a CR before its LF.
  constexpr std::size_t kLongest = kPatchDescriptionLine.size() + 1;
  for (std::string_view rest(data, size); !rest.empty() && !found_;) {
    std::size_t end = rest.find('\n');
    std::string_view piece = rest.substr(0, end);
    if (!tooLong_ && line_.size() + piece.size() <= kLongest)
      line_.append(piece);
    else
      tooLong_ = true;
    if (end == std::string_view::npos) return;
    std::string_view line = line_;
    if (line.ends_with('\r')) line.remove_suffix(1);
    found_ = !tooLong_ && line == kPatchDescriptionLine;
    line_.clear();
    tooLong_ = false;
    rest.remove_prefix(end + 1);
  }
}

}  // namespace aplpatch
