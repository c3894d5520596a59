#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace aplpatch {

// The names of one script, each kept once in capitals and found again whatever its letter case
// (as the compiler compares names), under a small id that counts from 0 in the order the names
// came. Memory grows with the number of different names only.
class NameTable {
 public:
  static constexpr int kNone = -1;

  // The id of `name`, or kNone.
  int find(std::string_view name) const;
  // The id of `name`, added when new. Names are read eight bytes at a time: the eight bytes from
  // the start of `name`, and after its end, must be readable (a line's padding gives them).
  int intern(std::string_view name);

  // The name in capitals.
  std::string_view name(int id) const;
  int size() const { return static_cast<int>(entries_.size()); }

 private:
  // A slot of the open-addressing table holds what a probe compares, so that most probes read
  // nothing else: the first eight bytes of the name and its length.
  struct Slot {
    std::uint64_t first = 0;  // the first eight bytes (fewer for a shorter name) in capitals
    std::uint32_t length = 0;
    int id = kNone;           // kNone: the slot is empty
  };
  struct Entry {
    std::uint32_t offset;  // where the capitals start in text_
    std::uint32_t length;
    std::uint64_t hash;    // placed by its top bits, so that the table can grow without reading names
  };

  static std::uint64_t hashOf(std::uint64_t first, std::string_view name);
  // Whether the name stored for `id` goes on from its ninth byte as `name` does, letter case aside.
  bool restMatches(int id, std::string_view name) const;
  void grow();

  std::string text_;            // every name in capitals, one after the other, and eight zero bytes
  std::vector<Entry> entries_;  // by id
  std::vector<Slot> slots_;     // a power of two in size, at most half full
  int shift_ = 64;              // 64 minus the log2 of the slot count: a hash's top bits pick its slot
};

}  // namespace aplpatch
