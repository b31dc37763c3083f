#include "attach/identity.h"

namespace vn {
namespace {
constexpr char16_t FoldAsciiLetter(char16_t c) noexcept {
    return (c >= u'a' && c <= u'z') ? c - (u'a' - u'A') : OnOneLine(c);
}
constexpr bool IsCaptionPadding(char16_t c) noexcept { return c <= 32; }
} // namespace

bool IdentityTextEquals(std::u16string_view a, std::u16string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) return false;
    return true;
}

std::u16string TrimCaption(std::u16string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsCaptionPadding(text[begin])) ++begin;
    while (end > begin && IsCaptionPadding(text[end - 1])) --end;
    return std::u16string(text.substr(begin, end - begin));
}

std::u16string FileNamePart(std::u16string_view path) {
    size_t cut = path.find_last_of(u"\\/:");
    return std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
}

} // namespace vn
