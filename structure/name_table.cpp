#include "structure/name_table.h"

#include <string>

#include "structure/ascii_words.h"

namespace aplpatch {

namespace {

// Bytes kept after the last name, so that a name can be loaded eight bytes at a time.
constexpr std::size_t kPadding = 8;

char capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// From the first and the last eight bytes and the length only, so that a name costs the same
// whatever its length; names that differ only in between meet in a slot and are told apart there.
NameTable::Key NameTable::keyOf(std::string_view name) {
  const std::size_t size = name.size();
  const std::uint64_t first = capitals(loadWord(name.data(), size));
  const std::uint64_t last = size > 8 ? capitals(loadWord(name.data() + size - 8, 8)) : 0;
  std::uint64_t hash = first * 0x9E3779B97F4A7C15u + last * 0xC2B2AE3D27D4EB4Fu + size;
  // The high half of a product depends on every bit of the name; slots take the low bits.
  hash = (hash ^ (hash >> 32)) * 0xD6E8FEB86659FD93u;
  return {first, static_cast<std::uint32_t>(hash >> 32)};
}

std::size_t NameTable::slotFor(std::string_view name, const Key& key) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = key.hash & mask;; slot = (slot + 1) & mask) {
    const int id = slots_[slot];
    if (id == kNone) return slot;
    const Entry& entry = entries_[static_cast<std::size_t>(id)];
    if (entry.first != key.first || entry.length != name.size()) continue;
    // The first eight bytes are alike; a longer name is compared from its ninth on.
    if (name.size() <= 8) return slot;
    const char* stored = text_.data() + entry.offset;
    std::size_t at = 8;
    while (at < name.size() && capitals(loadWord(name.data() + at, name.size() - at)) ==
                                   loadWord(stored + at, name.size() - at)) {
      at += 8;
    }
    if (at >= name.size()) return slot;
  }
}

int NameTable::find(std::string_view name) const {
  if (slots_.empty()) return kNone;
  std::string padded(name);
  padded.append(kPadding, '\0');
  const std::string_view copy(padded.data(), name.size());
  return slots_[slotFor(copy, keyOf(copy))];
}

int NameTable::intern(std::string_view name) {
  const Key key = keyOf(name);
  if (!slots_.empty()) {
    const int found = slots_[slotFor(name, key)];
    if (found != kNone) return found;
  }
  // Kept at most half full, so that a probe ends soon.
  if ((entries_.size() + 1) * 2 > slots_.size()) grow();
  const int id = size();
  if (!text_.empty()) text_.resize(text_.size() - kPadding);
  entries_.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(name.size()), key.hash,
                      key.first});
  for (char c : name) text_.push_back(capital(c));
  text_.append(kPadding, '\0');
  slots_[slotFor(name, key)] = id;
  return id;
}

std::string_view NameTable::name(int id) const {
  const Entry& entry = entries_[static_cast<std::size_t>(id)];
  return std::string_view(text_.data() + entry.offset, entry.length);
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
