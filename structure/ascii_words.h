#pragma once

// Eight bytes of text as one word: loaded, made capitals and compared at once, for the checker's
// words and names.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace aplpatch {

// The eight bytes at `at` (all must be readable), keeping only the first `size` of them when
// fewer than eight; the others become zero.
inline std::uint64_t loadWord(const char* at, std::size_t size) {
  std::uint64_t word;
  std::memcpy(&word, at, 8);
  return size >= 8 ? word : word & ((std::uint64_t{1} << (8 * size)) - 1);
}

// `word` with its ASCII small letters made capitals. In each byte, bit 7 of `fromA` and `pastZ`
// says whether its low seven bits reach 'a' and pass 'z' (no sum carries into the next byte); a
// small letter reaches 'a', does not pass 'z' and has bit 7 clear.
inline std::uint64_t capitals(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  const std::uint64_t low7 = word & (0x7F * kOnes);
  const std::uint64_t fromA = low7 + (0x80 - 'a') * kOnes;
  const std::uint64_t pastZ = low7 + (0x80 - 'z' - 1) * kOnes;
  return word ^ ((fromA & ~pastZ & ~word & (0x80 * kOnes)) >> 2);
}

// Up to eight bytes of text as loadWord() gives them, for comparisons with constants; always worked
// out by the compiler.
consteval std::uint64_t packed(std::string_view text) {
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < text.size() && i < 8; ++i) {
    word |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
  }
  return word;
}

// The same for a word of letters only, with the 0x20 bit set in each of its bytes: a text whose
// bytes have that bit set too equals it exactly when it is the word, letter case aside (only a
// letter's two cases differ in that bit alone).
consteval std::uint64_t foldedLetters(std::string_view letters) {
  std::uint64_t word = packed(letters);
  for (std::size_t i = 0; i < letters.size() && i < 8; ++i) word |= std::uint64_t{0x20} << (8 * i);
  return word;
}

}  // namespace aplpatch
