#pragma once
// Texts kept on one line: a record of the note store is one line, so a window
// caption (or a label) holding CR or LF is stored, and compared, with each of them
// as a space.
#include <string>
#include <string_view>

namespace vn {

constexpr char16_t OnOneLine(char16_t c) noexcept { return c == u'\r' || c == u'\n' ? u' ' : c; }

inline std::u16string CaptionOnOneLine(std::u16string_view caption) {
    std::u16string line(caption);
    for (char16_t& c : line) c = OnOneLine(c);
    return line;
}

} // namespace vn
