#pragma once

#include <string>
#include <string_view>

namespace aplpatch {

// Text saved two bytes a letter, as Notepad's "Unicode" saves it.
enum class Utf16Order : bool { littleEndian, bigEndian };

// The UTF-16 text `bytes` (without its byte-order mark) in UTF-8. A lone surrogate becomes U+FFFD
// and an odd last byte is left out, so that damaged text still reads as far as it is sound.
std::string utf16ToUtf8(std::string_view bytes, Utf16Order order);

}  // namespace aplpatch
