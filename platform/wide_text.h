#pragma once

#include <string>
#include <string_view>

namespace aplpatch {

// Converts between the UTF-8 of the program's own strings and the UTF-16 of the Windows API (one
// wchar_t per 16-bit unit). The conversion loses nothing that Windows can hand over: a surrogate
// without its partner, which a Windows file name may hold, gets its own three-byte form and comes
// back unchanged.
std::string toUtf8(std::wstring_view wide);

// The reverse of toUtf8(). A byte that starts no valid sequence becomes U+FFFD.
std::wstring toWide(std::string_view utf8);

}  // namespace aplpatch
