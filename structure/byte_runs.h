#pragma once

// How far a run of blanks or of name bytes reaches in a line, and whether a line holds a comment
// mark, eight or sixteen bytes at a time. Each may read up to sixteen bytes from any place up to
// the end of the line: a line comes with that much readable padding after it, and the padding's
// first byte (the line's CR or LF) ends every run.

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "structure/ascii_words.h"

namespace aplpatch::detail {

// What the checker needs to know of a byte, one bit each.
enum ByteClass : unsigned char {
  kNameByte = 1,        // letters, digits, '_' and the accented letters of Windows-1252 (from 0xC0),
                        // which the host may use in German labels
  kKeywordInitial = 2,  // G, I, E, W, O in either case: the first letters of the structure words
  kColon = 4,
};

struct ByteClasses {
  unsigned char of[256] = {};
  constexpr ByteClasses() {
    for (int b = 0; b < 256; ++b) {
      const bool name = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_' ||
                        b >= 0xC0;
      const int capital = b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b;
      const bool initial = capital == 'G' || capital == 'I' || capital == 'E' || capital == 'W' || capital == 'O';
      of[b] = static_cast<unsigned char>((name ? kNameByte : 0) | (initial ? kKeywordInitial : 0) |
                                         (b == ':' ? kColon : 0));
    }
  }
};
inline constexpr ByteClasses kByteClasses;

inline unsigned classOf(char c) { return kByteClasses.of[static_cast<unsigned char>(c)]; }
inline bool isNameByte(char c) { return (classOf(c) & kNameByte) != 0; }
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline constexpr std::uint64_t kOnes = 0x0101010101010101;

// Bit 7 of the first byte of `bytes` that is below `limit` (at most 0x80) is set, and no bit of an
// earlier byte; later bytes may have it set too.
inline std::uint64_t bytesBelow(std::uint64_t bytes, unsigned limit) {
  return (bytes - limit * kOnes) & ~bytes & (0x80 * kOnes);
}

// How many blanks there are from `at`: spaces eight at a time, a tab one by one (rare: the host
// indents with spaces).
inline std::size_t blankRun(const char* at) {
  std::size_t run = 0;
  for (;;) {
    const std::uint64_t others = loadWord(at + run, 8) ^ (' ' * kOnes);
    if (others == 0) {
      run += 8;
      continue;
    }
    run += static_cast<std::size_t>(std::countr_zero(others)) / 8;
    if (at[run] != '\t') return run;
    ++run;
  }
}

#if defined(__SSE2__)

inline __m128i loadSixteen(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }

// Whether each byte lies from `low` to `high`, as unsigned bytes.
inline __m128i bytesWithin(__m128i bytes, char low, char high) {
  const __m128i clamped = _mm_min_epu8(_mm_max_epu8(bytes, _mm_set1_epi8(low)), _mm_set1_epi8(high));
  return _mm_cmpeq_epi8(clamped, bytes);
}

// One bit for each of the sixteen bytes at `at`: set where it is a name byte, as isNameByte() has
// it. Setting the 0x20 bit makes capitals small letters and moves no other byte into 'a' to 'z'.
inline unsigned nameBits(const char* at) {
  const __m128i bytes = loadSixteen(at);
  const __m128i letters = bytesWithin(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), 'a', 'z');
  const __m128i digits = bytesWithin(bytes, '0', '9');
  const __m128i underscores = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('_'));
  const __m128i accented = _mm_cmpeq_epi8(_mm_max_epu8(bytes, _mm_set1_epi8(static_cast<char>(0xC0))), bytes);
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(letters, digits), _mm_or_si128(underscores, accented))));
}

// How many name bytes there are from `at`.
inline std::size_t nameRun(const char* at) {
  std::size_t run = 0;
  for (;;) {
    const unsigned bits = nameBits(at + run);
    if (bits != 0xFFFF) return run + static_cast<std::size_t>(std::countr_one(bits));
    run += 16;
  }
}

// Whether the `size` bytes at `at` hold a "'".
inline bool holdsCommentMark(const char* at, std::size_t size) {
  const __m128i marks = _mm_set1_epi8('\'');
  for (std::size_t done = 0; done < size; done += 16) {
    unsigned found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(loadSixteen(at + done), marks)));
    if (size - done < 16) found &= (1u << (size - done)) - 1;
    if (found != 0) return true;
  }
  return false;
}

#else

inline std::size_t nameRun(const char* at) {
  std::size_t run = 0;
  while (isNameByte(at[run])) ++run;
  return run;
}

inline bool holdsCommentMark(const char* at, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (at[i] == '\'') return true;
  }
  return false;
}

#endif

}  // namespace aplpatch::detail
