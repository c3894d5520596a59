#include "engine/line_origins.h"

namespace aplpatch {

void LineOrigins::markAnyRun(std::size_t first, std::size_t last, std::uint8_t origin) {
  if (first > last) return;
  if (last > blocks_.size() * kBlockLines) addBlocks(last);
  std::size_t block = (first - 1) / kBlockLines;
  const std::size_t at = first - 1 - block * kBlockLines;
  std::size_t count = last - first + 1;
  std::uint8_t* to = blocks_[block].data() + at;
  for (std::size_t n = std::min(count, kBlockLines - at);; n = std::min(count, kBlockLines)) {
    std::memset(to, origin, n);
    count -= n;
    if (count == 0) break;
    to = blocks_[++block].data();
  }
  markBlockBytes_ = blocks_[block].data();
  markFrom_ = block * kBlockLines;
  markRoomEnd_ = markFrom_ + kBlockLines - kWordLines + 1;
}

void LineOrigins::addBlocks(std::size_t lines) {
  while (blocks_.size() * kBlockLines < lines) blocks_.emplace_back(kBlockLines, kAsRead);
}

}  // namespace aplpatch
