#include "engine/line_text.h"

#include <gtest/gtest.h>

#include <string>

namespace aplpatch {
namespace {

char capitalOf(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Every byte value at every place of texts of every length up to a few words, so that each meets
// each lane of the word-wise upper-casing and its byte-wise end.
TEST(UpcaseAscii, OnlySmallAsciiLettersChangeWhereverTheyStand) {
  for (std::size_t size = 0; size <= 40; ++size) {
    for (int first = 0; first < 256; first += 7) {
      std::string text;
      for (std::size_t i = 0; i < size; ++i) {
        text.push_back(static_cast<char>((first + i * 37) % 256));
      }
      std::string expected;
      for (char c : text) expected.push_back(capitalOf(c));
      upcaseAscii(text);
      ASSERT_EQ(text, expected) << "size " << size << ", first byte " << first;
    }
  }
}

}  // namespace
}  // namespace aplpatch
