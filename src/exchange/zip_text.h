#pragma once
// Text conversions of the archive code: entry names are UTF-8 (flag bit 11) or
// code page 437 (older tools), paths inside the program are UTF-16.
#include <string>
#include <string_view>

namespace vn {

// UTF-8 bytes of UTF-16 text. A lone surrogate (possible in Windows file names)
// becomes U+FFFD, so the result is always valid UTF-8.
std::string ZipUtf8(std::u16string_view text);

// UTF-16 text of UTF-8 bytes. Every byte that does not start a well-formed
// sequence (overlong forms, encoded surrogates, values above U+10FFFF, cut
// sequences) becomes U+FFFD: an overlong "/" or "." can never come out as one.
std::u16string ZipFromUtf8(std::string_view bytes);

// Whether the bytes are well-formed UTF-8 throughout.
bool ZipIsUtf8(std::string_view bytes);

// UTF-16 text of code page 437 bytes. The table is part of the program: the
// result must not depend on the code pages a system happens to have.
std::u16string ZipFromCp437(std::string_view bytes);

} // namespace vn
