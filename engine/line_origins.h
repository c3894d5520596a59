#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace aplpatch {

// Where each line of a rewrite came from, one byte a line: as read from the script, or written or
// changed (beyond its letter case) by one of the rules, which the byte names by its place among
// them. Written by the line writer as lines are written; read after the rewrite.
//
// The bytes are kept in blocks of a fixed size, so that a growing rewrite never copies what is
// noted, and a rewrite after another reuses the blocks the allocator has kept.
class LineOrigins {
 public:
  static constexpr std::uint8_t kAsRead = 0;
  // Origins are the rules' places from 1 up to this; rules past it all share it.
  static constexpr std::uint8_t kLast = 255;

  // The origin of `line` of the rewrite (from 1), kAsRead outside it.
  std::uint8_t of(int line) const {
    if (line < 1 || static_cast<std::size_t>(line) > lines()) return kAsRead;
    const std::size_t index = static_cast<std::size_t>(line) - 1;
    return blocks_[index / kBlockLines][index % kBlockLines];
  }
  // The rule an origin names, as its table entry gives it; nullptr for kAsRead.
  const char* rule(std::uint8_t origin) const {
    return origin == kAsRead || origin > names_.size() ? nullptr : names_[origin - 1u];
  }
  std::size_t lines() const { return blocks_.size() * kBlockLines - (kBlockLines - used_); }

  // The names of the rules that origins 1, 2, ... stand for.
  void nameRules(std::vector<const char*> names) { names_ = std::move(names); }
  // The origin of the next line.
  void add(std::uint8_t origin) {
    if (used_ == kBlockLines) startBlock();
    blocks_.back()[used_++] = origin;
  }
  // The origin of the next line, and `rest` that of the `count` - 1 lines after it.
  void add(std::uint8_t first, std::uint8_t rest, std::size_t count) {
    if (count == 0) return;
    if (std::max(count, kShortRun) <= kBlockLines - used_) {
      // Most runs are a few lines: two whole words stored, whatever they cover past the run's
      // end is noted again by the next runs.
      std::uint8_t* to = blocks_.back().data() + used_;
      const std::uint64_t runOfRest = rest * std::uint64_t{0x0101010101010101};
      std::memcpy(to, &runOfRest, 8);
      std::memcpy(to + 8, &runOfRest, 8);
      if (count > kShortRun) std::memset(to + kShortRun, rest, count - kShortRun);
      to[0] = first;
      used_ += count;
      return;
    }
    add(first);
    add(rest, count - 1);
  }
  // The origin of the next `count` lines.
  void add(std::uint8_t origin, std::size_t count) {
    while (count > 0) {
      if (used_ == kBlockLines) startBlock();
      const std::size_t added = std::min(count, kBlockLines - used_);
      std::uint8_t* to = blocks_.back().data() + used_;
      for (std::size_t i = 0; i < added; ++i) to[i] = origin;
      used_ += added;
      count -= added;
    }
  }

  // The same origins for the same lines, under the same names.
  bool operator==(const LineOrigins& other) const {
    if (lines() != other.lines() || names_ != other.names_) return false;
    for (std::size_t block = 0; block < blocks_.size(); ++block) {
      const std::size_t size = block + 1 == blocks_.size() ? used_ : kBlockLines;
      if (!std::equal(blocks_[block].begin(), blocks_[block].begin() + static_cast<std::ptrdiff_t>(size),
                      other.blocks_[block].begin())) {
        return false;
      }
    }
    return true;
  }

 private:
  static constexpr std::size_t kBlockLines = 32 * 1024;
  static constexpr std::size_t kShortRun = 16;

  void startBlock() {
    blocks_.emplace_back(kBlockLines, kAsRead);
    used_ = 0;
  }

  // Each kBlockLines long, the last one filled up to used_.
  std::vector<std::vector<std::uint8_t>> blocks_;
  std::size_t used_ = kBlockLines;
  std::vector<const char*> names_;
};

}  // namespace aplpatch
