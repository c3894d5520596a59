#include "driver/utf16_text.h"

#include <cstddef>
#include <cstdint>

namespace aplpatch {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& text, char32_t code) {
  auto byte = [&](std::uint32_t value) { text.push_back(static_cast<char>(value)); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | (code >> 6));
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | (code >> 12));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | (code >> 18));
    byte(0x80 | ((code >> 12) & 0x3F));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string utf16ToUtf8(std::string_view bytes, Utf16Order order) {
  const std::size_t units = bytes.size() / 2;
  auto unitAt = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return order == Utf16Order::littleEndian ? char32_t(first | (second << 8)) : char32_t((first << 8) | second);
  };
  std::string text;
  text.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    const char32_t unit = unitAt(i);
    if (isHighSurrogate(unit) && i + 1 < units && isLowSurrogate(unitAt(i + 1))) {
      appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
      ++i;
    } else {
      appendUtf8(text, isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : unit);
    }
  }
  return text;
}

}  // namespace aplpatch
