#include "structure/name_table.h"

#include <bit>
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
// The top bits of a product depend on every bit of the name, and they pick the slot.
std::uint64_t NameTable::hashOf(std::uint64_t first, std::string_view name) {
  const std::size_t size = name.size();
  std::uint64_t mixed = first ^ size;
  if (size > 8) mixed ^= capitals(loadWord(name.data() + size - 8, 8)) * 0xC2B2AE3D27D4EB4Fu;
  return mixed * 0x9E3779B97F4A7C15u;
}

bool NameTable::restMatches(int id, std::string_view name) const {
  const char* stored = text_.data() + entries_[static_cast<std::size_t>(id)].offset;
  for (std::size_t at = 8; at < name.size(); at += 8) {
    if (capitals(loadWord(name.data() + at, name.size() - at)) != loadWord(stored + at, name.size() - at)) return false;
  }
  return true;
}

int NameTable::find(std::string_view name) const {
  if (slots_.empty()) return kNone;
  std::string padded(name);
  padded.append(kPadding, '\0');
  const std::string_view copy(padded.data(), name.size());
  const std::uint64_t first = capitals(loadWord(copy.data(), copy.size()));
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hashOf(first, copy) >> shift_;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.id == kNone) return kNone;
    if (slot.first == first && slot.length == copy.size() && restMatches(slot.id, copy)) return slot.id;
  }
}

int NameTable::intern(std::string_view name) {
  if (slots_.empty()) grow();
  const std::uint64_t first = capitals(loadWord(name.data(), name.size()));
  const std::uint64_t hash = hashOf(first, name);
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash >> shift_;
  for (;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.id == kNone) break;
    if (slot.first != first || slot.length != name.size()) continue;
    // Most names end within sixteen bytes: the second eight are compared here.
    if (name.size() <= 8) return slot.id;
    const char* stored = text_.data() + entries_[static_cast<std::size_t>(slot.id)].offset;
    if (capitals(loadWord(name.data() + 8, name.size() - 8)) != loadWord(stored + 8, name.size() - 8)) continue;
    if (name.size() <= 16 || restMatches(slot.id, name)) return slot.id;
  }
  const int id = size();
  if (!text_.empty()) text_.resize(text_.size() - kPadding);
  entries_.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(name.size()), hash});
  for (char c : name) text_.push_back(capital(c));
  text_.append(kPadding, '\0');
  // Kept at most half full, so that a probe ends soon.
  if (entries_.size() * 2 > slots_.size()) {
    grow();
  } else {
    slots_[at] = {first, static_cast<std::uint32_t>(name.size()), id};
  }
  return id;
}

std::string_view NameTable::name(int id) const {
  const Entry& entry = entries_[static_cast<std::size_t>(id)];
  return std::string_view(text_.data() + entry.offset, entry.length);
}

// Places every entry anew in twice the slots (64 at first).
void NameTable::grow() {
  const std::size_t count = slots_.empty() ? 64 : slots_.size() * 2;
  slots_.assign(count, Slot{});
  shift_ = 64 - std::countr_zero(count);
  const std::size_t mask = count - 1;
  for (std::size_t id = 0; id < entries_.size(); ++id) {
    const Entry& entry = entries_[id];
    std::size_t at = entry.hash >> shift_;
    while (slots_[at].id != kNone) at = (at + 1) & mask;
    slots_[at] = {loadWord(text_.data() + entry.offset, entry.length), entry.length, static_cast<int>(id)};
  }
}

}  // namespace aplpatch
