#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace aplpatch {

// The three line tests of the rules. All are case-sensitive byte comparisons.
inline bool contains(std::string_view line, std::string_view text) {
  return line.find(text) != std::string_view::npos;
}

inline bool startsWith(std::string_view line, std::string_view text) {
  return line.size() >= text.size() && line.compare(0, text.size(), text) == 0;
}

inline bool equals(std::string_view line, std::string_view text) { return line == text; }

namespace detail {

// Upper-cases the eight bytes at `bytes` at once. In each byte, bit 7 of `fromA` and `pastZ` says
// whether its low seven bits reach 'a' and pass 'z' (no sum carries into the next byte); a small
// letter is one that reaches 'a', does not pass 'z' and has bit 7 clear, and loses its 0x20 bit.
inline void upcaseEight(char* bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  std::uint64_t word;
  std::memcpy(&word, bytes, 8);
  const std::uint64_t low7 = word & (0x7F * kOnes);
  const std::uint64_t fromA = low7 + (0x80 - 'a') * kOnes;
  const std::uint64_t pastZ = low7 + (0x80 - 'z' - 1) * kOnes;
  const std::uint64_t small = fromA & ~pastZ & ~word & (0x80 * kOnes);
  if (small != 0) {
    word ^= small >> 2;
    std::memcpy(bytes, &word, 8);
  }
}

}  // namespace detail

// Turns the ASCII letters a to z into capitals; every other byte stays as it is.
inline void upcaseAscii(std::string& text) {
  char* bytes = text.data();
  const std::size_t size = text.size();
  if (size < 8) {
    for (std::size_t i = 0; i < size; ++i) {
      if (bytes[i] >= 'a' && bytes[i] <= 'z') bytes[i] = static_cast<char>(bytes[i] - 'a' + 'A');
    }
    return;
  }
  // The last eight bytes overlap the eight before them, which upper-casing twice leaves alike.
  for (std::size_t i = 0; i < size; i += 8) {
    detail::upcaseEight(bytes + (i + 8 <= size ? i : size - 8));
  }
}

}  // namespace aplpatch
