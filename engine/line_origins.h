#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/rule_names.h"

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
  // Origins are the rules' places from 1 up to this.
  static constexpr std::uint8_t kLast = 255;

  // The origin of `line` of the rewrite (from 1), kAsRead outside it.
  std::uint8_t of(int line) const {
    if (line < 1 || static_cast<std::size_t>(line) > lines()) return kAsRead;
    const std::size_t index = static_cast<std::size_t>(line) - 1;
    return blocks_[index / kBlockLines][index % kBlockLines];
  }
  // The rule an origin names, as its table entry gives it; nullptr for kAsRead.
  const char* rule(std::uint8_t origin) const {
    return names_.of(origin);
  }
  std::size_t lines() const { return lines_; }

  // The names of the rules that origins 1, 2, ... stand for.
  void nameRules(std::vector<const char*> names) { names_ = RuleNames(std::move(names)); }
  // Gives lines `first` to `last` (from 1) the origin `origin`; none when `first` is past `last`,
  // which it may be by one. Lines never given one are as read. Lines are given origins in their
  // order: none past `last` has one yet.
  void mark(std::size_t first, std::size_t last, std::uint8_t origin) {
    const std::size_t count = last - first + 1;
    if (first > markFrom_ && first <= markRoomEnd_ && count <= kShortRun) {
      // Most runs are a few lines in the block of the run before: two whole words stored, the
      // lines past the run's end kept as read.
      std::uint64_t low;
      std::uint64_t high;
      std::memcpy(&low, kRunMasks + kShortRun - count, 8);
      std::memcpy(&high, kRunMasks + kShortRun - count + 8, 8);
      const std::uint64_t run = origin * std::uint64_t{0x0101010101010101};
      low &= run;
      high &= run;
      std::uint8_t* to = blocks_[markBlock_].data() + (first - markFrom_ - 1);
      std::memcpy(to, &low, 8);
      std::memcpy(to + 8, &high, 8);
      return;
    }
    markAnyRun(first, last, origin);
  }
  // The rewrite has `count` lines.
  void setLines(std::size_t count) {
    if (count > blocks_.size() * kBlockLines) addBlocks(count);
    lines_ = count;
  }

  // The same origins for the same lines, under the same names.
  bool operator==(const LineOrigins& other) const {
    if (lines_ != other.lines_ || names_ != other.names_) return false;
    for (std::size_t block = 0; block * kBlockLines < lines_; ++block) {
      const std::size_t size = std::min(kBlockLines, lines_ - block * kBlockLines);
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

  // From kShortRun - n on: n bytes set, then none, for the masks of a run of n lines.
  static constexpr std::uint8_t kRunMasks[2 * kShortRun] = {
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

  // As mark(), for a run of any length in any block.
  void markAnyRun(std::size_t first, std::size_t last, std::uint8_t origin);
  // Blocks of kAsRead for the lines up to `lines`.
  void addBlocks(std::size_t lines);

  std::vector<std::vector<std::uint8_t>> blocks_;  // each kBlockLines long
  std::size_t lines_ = 0;
  // The block of the last run marked, and where a run of up to kShortRun lines fits in it: lines
  // after markFrom_ up to markRoomEnd_.
  std::size_t markBlock_ = 0;
  std::size_t markFrom_ = 0;
  std::size_t markRoomEnd_ = 0;
  RuleNames names_;
};

}  // namespace aplpatch
