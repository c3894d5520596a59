#include "structure/name_table.h"

#include <cstring>

namespace aplpatch {

namespace {

char capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The eight bytes of `word` with their ASCII small letters made capitals. In each byte, bit 7 of
// `fromA` and `pastZ` says whether its low seven bits reach 'a' and pass 'z' (no sum carries into
// the next byte); a small letter reaches 'a', does not pass 'z' and has bit 7 clear.
std::uint64_t capitals(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  const std::uint64_t low7 = word & (0x7F * kOnes);
  const std::uint64_t fromA = low7 + (0x80 - 'a') * kOnes;
  const std::uint64_t pastZ = low7 + (0x80 - 'z' - 1) * kOnes;
  return word ^ ((fromA & ~pastZ & ~word & (0x80 * kOnes)) >> 2);
}

// The bytes from `at`, up to eight of them, as one word; missing bytes are zero.
std::uint64_t load(const char* at, std::size_t size) {
  std::uint64_t word = 0;
  if (size >= 8) {
    std::memcpy(&word, at, 8);
  } else {
    for (std::size_t i = 0; i < size; ++i) word |= std::uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
  }
  return word;
}

// From the first and the last eight bytes and the length only, so that a name costs the same
// whatever its length; names that differ only in between meet in a slot and are told apart there.
std::uint32_t hashOf(std::string_view name) {
  const std::size_t size = name.size();
  const std::uint64_t first = capitals(load(name.data(), size));
  const std::uint64_t last = size > 8 ? capitals(load(name.data() + size - 8, 8)) : 0;
  std::uint64_t hash = (first * 0x9E3779B97F4A7C15u) ^ (last * 0xC2B2AE3D27D4EB4Fu) ^ size;
  hash ^= hash >> 29;
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

// Whether `name` is `capitals`, letter case aside, eight bytes at a time.
bool sameName(std::string_view name, std::string_view upper) {
  const std::size_t size = name.size();
  if (size != upper.size()) return false;
  if (size <= 8) return capitals(load(name.data(), size)) == load(upper.data(), size);
  for (std::size_t at = 0; at + 8 < size; at += 8) {
    if (capitals(load(name.data() + at, 8)) != load(upper.data() + at, 8)) return false;
  }
  return capitals(load(name.data() + size - 8, 8)) == load(upper.data() + size - 8, 8);
}

}  // namespace

std::size_t NameTable::slotFor(std::string_view name, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const int id = slots_[slot];
    if (id == kNone) return slot;
    const Entry& entry = entries_[static_cast<std::size_t>(id)];
    if (entry.hash == hash && sameName(name, this->name(id))) return slot;
  }
}

int NameTable::find(std::string_view name) const {
  if (slots_.empty()) return kNone;
  return slots_[slotFor(name, hashOf(name))];
}

int NameTable::intern(std::string_view name) {
  const std::uint32_t hash = hashOf(name);
  if (!slots_.empty()) {
    const int found = slots_[slotFor(name, hash)];
    if (found != kNone) return found;
  }
  // Kept at most half full, so that a probe ends soon.
  if ((entries_.size() + 1) * 2 > slots_.size()) grow();
  const int id = size();
  entries_.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(name.size()), hash});
  for (char c : name) text_.push_back(capital(c));
  slots_[slotFor(name, hash)] = id;
  return id;
}

std::string_view NameTable::name(int id) const {
  const Entry& entry = entries_[static_cast<std::size_t>(id)];
  return std::string_view(text_).substr(entry.offset, entry.length);
}

void NameTable::grow() {
  slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, kNone);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t id = 0; id < entries_.size(); ++id) {
    std::size_t slot = entries_[id].hash & mask;
    while (slots_[slot] != kNone) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<int>(id);
  }
}

}  // namespace aplpatch
