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
  struct Entry {
    std::uint32_t offset;  // where the capitals start in text_
    std::uint32_t length;
    std::uint32_t hash;
    std::uint64_t first;   // the first eight bytes in capitals, as Key has them
  };
  struct Key {
    std::uint64_t first;  // the first eight bytes (fewer for a shorter name) in capitals
    std::uint32_t hash;
  };

  static Key keyOf(std::string_view name);
  // The slot that holds `name`, or the empty slot where it would go.
  std::size_t slotFor(std::string_view name, const Key& key) const;
  void grow();

  std::string text_;            // every name in capitals, one after the other, and eight zero bytes
  std::vector<Entry> entries_;  // by id
  std::vector<int> slots_;      // open addressing: an id or kNone; a power of two in size
};

}  // namespace aplpatch
