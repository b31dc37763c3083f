#pragma once
// Unicode transformations the store's text files need, without the platform:
// UTF-8 and UTF-16 with either byte order.
#include <string>
#include <string_view>

namespace vn {

// Unpaired surrogates become U+FFFD, as WideCharToMultiByte does for CP_UTF8.
std::string EncodeUtf8(std::u16string_view text);

// Malformed sequences become one U+FFFD each (maximal subpart), as
// MultiByteToWideChar does for CP_UTF8 without flags.
std::u16string DecodeUtf8(std::string_view bytes);

// Two bytes per unit; an odd last byte is dropped.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);

} // namespace vn
