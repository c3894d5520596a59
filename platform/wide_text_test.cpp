#include "platform/wide_text.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace aplpatch {
namespace {

// UTF-16 units written out one by one, so that the tests mean the same where wchar_t is wider.
std::wstring units(std::initializer_list<unsigned> values) {
  std::wstring text;
  for (unsigned value : values) text += static_cast<wchar_t>(value);
  return text;
}

struct Pair {
  const char* what;
  std::wstring wide;
  std::string utf8;
};

TEST(WideText, ConvertsBothWaysWithoutLoss) {
  const std::vector<Pair> pairs = {
      {"empty", units({}), ""},
      {"ASCII path", units({'C', ':', '\\', 'a', ' ', 'b'}), "C:\\a b"},
      {"Latin letters", units({'F', 'l', 0xFC, 'g', 'e', ' ', 0x141, 0xF3, 'd', 0x17A}),
       "Fl\xC3\xBCge \xC5\x81\xC3\xB3" "d\xC5\xBA"},
      {"three-byte letters", units({0x20AC, 0x416, 0xFFFD}), "\xE2\x82\xAC\xD0\x96\xEF\xBF\xBD"},
      {"surrogate pair", units({'a', 0xD83D, 0xDE00, 'b'}), "a\xF0\x9F\x98\x80" "b"},
      {"lone high surrogate", units({0xD800, 'x'}), "\xED\xA0\x80x"},
      {"lone low surrogate", units({'x', 0xDC00}), "x\xED\xB0\x80"},
      {"high surrogate at the end", units({0xDBFF}), "\xED\xAF\xBF"},
      {"low before high", units({0xDC00, 0xD800}), "\xED\xB0\x80\xED\xA0\x80"},
      {"NUL inside", units({'a', 0, 'b'}), std::string("a\0b", 3)},
  };
  for (const Pair& pair : pairs) {
    SCOPED_TRACE(pair.what);
    EXPECT_EQ(toUtf8(pair.wide), pair.utf8);
    EXPECT_EQ(toWide(pair.utf8), pair.wide);
  }
}

TEST(WideText, ReplacesEachByteThatStartsNoSequence) {
  const std::vector<Pair> cases = {
      {"Windows-1252 letter", units({0xFFFD, 'B'}), "\xDC" "B"},
      {"stray continuation byte", units({'a', 0xFFFD, 'b'}), "a\x80" "b"},
      {"sequence cut short at the end", units({0xFFFD, 0xFFFD}), "\xE2\x82"},
      {"sequence cut short by ASCII", units({0xFFFD, 'a'}), "\xC3" "a"},
      {"overlong slash", units({0xFFFD, 0xFFFD}), "\xC0\xAF"},
      {"overlong three bytes", units({0xFFFD, 0xFFFD, 0xFFFD}), "\xE0\x80\xAF"},
      {"beyond U+10FFFF", units({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}), "\xF4\x90\x80\x80"},
  };
  for (const Pair& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(toWide(c.utf8), c.wide);
  }
}

}  // namespace
}  // namespace aplpatch
