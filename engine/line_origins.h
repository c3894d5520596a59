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

  // Moved, the blocks keep their bytes where they are, and the origins moved from are empty; a
  // copy would go on noting in the original's blocks, so there is none.
  LineOrigins() = default;
  LineOrigins(LineOrigins&& other) noexcept { *this = std::move(other); }
  LineOrigins& operator=(LineOrigins&& other) noexcept {
    if (&other == this) return *this;
    blocks_ = std::move(other.blocks_);
    lines_ = std::exchange(other.lines_, 0);
    markBlockBytes_ = std::exchange(other.markBlockBytes_, nullptr);
    markFrom_ = std::exchange(other.markFrom_, 0);
    markRoomEnd_ = std::exchange(other.markRoomEnd_, 0);
    names_ = std::move(other.names_);
    return *this;
  }

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
    if (first > markFrom_ && last < markRoomEnd_) {
      // Most runs lie in the block of the run before: stored a word at a time, the lines past
      // the run's end kept as read by the mask of its last word.
      std::uint8_t* to = markBlockBytes_ + (first - markFrom_ - 1);
      const Word run = Word::repeat(origin);
      std::size_t left = last + 1 - first;
      for (; left >= kWordLines; left -= kWordLines, to += kWordLines) storeWord(to, run);
      storeWord(to, run & Word::firstBytes(left));
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
  // The lines of one word of the fast path: two 8-byte halves, stored with any alignment.
  static constexpr std::size_t kWordLines = 16;
  struct Word {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    static Word repeat(std::uint8_t byte) {
      const std::uint64_t half = byte * std::uint64_t{0x0101010101010101};
      return {half, half};
    }
    // Every bit of the first `n` bytes (up to kWordLines) set, the rest clear.
    static Word firstBytes(std::size_t n) {
      Word mask;
      std::memcpy(&mask.low, kRunMasks + kWordLines - n, 8);
      std::memcpy(&mask.high, kRunMasks + kWordLines - n + 8, 8);
      return mask;
    }
    Word operator&(Word other) const { return {low & other.low, high & other.high}; }
  };
  static void storeWord(std::uint8_t* to, Word word) {
    std::memcpy(to, &word.low, 8);
    std::memcpy(to + 8, &word.high, 8);
  }

  // From kWordLines - n on: n bytes set, then none, for the mask of n lines.
  static constexpr std::uint8_t kRunMasks[2 * kWordLines] = {
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

  // As mark(), for a run of any length in any block.
  void markAnyRun(std::size_t first, std::size_t last, std::uint8_t origin);
  // Blocks of kAsRead for the lines up to `lines`.
  void addBlocks(std::size_t lines);

  std::vector<std::vector<std::uint8_t>> blocks_;  // each kBlockLines long
  std::size_t lines_ = 0;
  // The block of the last run marked the long way, and where a run marked the short way fits in
  // it: after line markFrom_, and ending before line markRoomEnd_, so that a word stored from the
  // line after the run stays in the block.
  std::uint8_t* markBlockBytes_ = nullptr;
  std::size_t markFrom_ = 0;
  std::size_t markRoomEnd_ = 0;
  RuleNames names_;
};

}  // namespace aplpatch
