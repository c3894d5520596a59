#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace aplpatch {

// Where each line of a rewrite came from, one byte a line: as read from the script, or written or
// changed (beyond its letter case) by one of the rules, which the byte names by its place among
// them. Written by the line writer as lines are written; read after the rewrite.
class LineOrigins {
 public:
  static constexpr std::uint8_t kAsRead = 0;
  // Origins are the rules' places from 1 up to this; rules past it all share it.
  static constexpr std::uint8_t kLast = 255;

  // The origin of `line` of the rewrite (from 1), kAsRead outside it.
  std::uint8_t of(int line) const {
    return line >= 1 && static_cast<std::size_t>(line) <= origins_.size() ? origins_[static_cast<std::size_t>(line) - 1]
                                                                           : kAsRead;
  }
  // The rule an origin names, as its table entry gives it; nullptr for kAsRead.
  const char* rule(std::uint8_t origin) const {
    return origin == kAsRead || origin > names_.size() ? nullptr : names_[origin - 1u];
  }
  std::size_t lines() const { return origins_.size(); }
  bool operator==(const LineOrigins&) const = default;

  // The names of the rules that origins 1, 2, ... stand for.
  void nameRules(std::vector<const char*> names) { names_ = std::move(names); }
  // The next line's origin.
  void add(std::uint8_t origin) { origins_.push_back(origin); }

 private:
  std::vector<std::uint8_t> origins_;
  std::vector<const char*> names_;
};

}  // namespace aplpatch
