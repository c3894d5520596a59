#include "driver/script_start.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "rules/header/patch_description.h"

namespace aplpatch {

namespace {

constexpr int kLinesLookedAt = 10;
constexpr std::size_t kReadAheadLimit = 64 * 1024;

bool isDescriptionLine(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line == kPatchDescriptionLine;
}

}  // namespace

ScriptStart::ScriptStart(std::unique_ptr<ReadFile> script) : script_(std::move(script)) {
  int lines = 0;
  std::size_t lineStart = 0;
  char buffer[4096];
  while (lines < kLinesLookedAt && !patched_ && ahead_.size() < kReadAheadLimit) {
    std::size_t n = script_->read(buffer, sizeof buffer);
    if (n == 0) break;
    ahead_.append(buffer, n);
    for (std::size_t end; lines < kLinesLookedAt && (end = ahead_.find('\n', lineStart)) != std::string::npos;) {
      ++lines;
      patched_ = patched_ || isDescriptionLine(std::string_view(ahead_).substr(lineStart, end - lineStart));
      lineStart = end + 1;
    }
  }
}

std::size_t ScriptStart::read(char* buffer, std::size_t size) {
  if (served_ < ahead_.size()) {
    std::size_t n = std::min(size, ahead_.size() - served_);
    std::memcpy(buffer, ahead_.data() + served_, n);
    served_ += n;
    return n;
  }
  return script_->read(buffer, size);
}

}  // namespace aplpatch
