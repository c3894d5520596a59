#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace aplpatch {

// The three line tests of the rules. All are case-sensitive byte comparisons.
inline bool contains(std::string_view line, std::string_view text) {
  return line.find(text) != std::string_view::npos;
}

inline bool startsWith(std::string_view line, std::string_view text) {
  return line.size() >= text.size() && line.compare(0, text.size(), text) == 0;
}

inline bool equals(std::string_view line, std::string_view text) { return line == text; }

// Whether two texts of the same size hold the same bytes, the letter case of ASCII letters aside.
inline bool sameLettersCaseAside(std::string_view a, std::string_view b) {
  const auto capital = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (capital(a[i]) != capital(b[i])) return false;
  }
  return true;
}

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

#if defined(__SSE2__)
// The same for the sixteen bytes at `bytes`. Compared as signed bytes, those from 0x80 up are below
// 'a' and stay as they are.
inline void upcaseSixteen(char* bytes) {
  __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  const __m128i small = _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8('a' - 1)),
                                      _mm_cmplt_epi8(block, _mm_set1_epi8('z' + 1)));
  block = _mm_xor_si128(block, _mm_and_si128(small, _mm_set1_epi8(0x20)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), block);
}
#endif

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
  // The last block overlaps the one before it, which upper-casing twice leaves alike.
#if defined(__SSE2__)
  if (size >= 16) {
    for (std::size_t i = 0; i < size; i += 16) {
      detail::upcaseSixteen(bytes + (i + 16 <= size ? i : size - 16));
    }
    return;
  }
#endif
  for (std::size_t i = 0; i < size; i += 8) {
    detail::upcaseEight(bytes + (i + 8 <= size ? i : size - 8));
  }
}

}  // namespace aplpatch
