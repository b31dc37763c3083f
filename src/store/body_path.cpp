#include "store/body_path.h"

#include <algorithm>
#include <array>

namespace vn {

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameText(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// Characters Windows refuses in a file name, and the separators and stream mark.
bool IsForbidden(char16_t c) { return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos; }

// Windows opens a device for these names, with any extension and trailing spaces.
bool IsDeviceName(std::u16string_view name) {
    std::u16string_view base = name.substr(0, name.find(u'.'));
    while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
    static constexpr std::array<std::u16string_view, 4> fixed = {u"CON", u"PRN", u"AUX", u"NUL"};
    if (std::any_of(fixed.begin(), fixed.end(), [&](std::u16string_view d) { return SameText(base, d); })) return true;
    if (base.size() != 4) return false;
    const bool port = SameText(base.substr(0, 3), u"COM") || SameText(base.substr(0, 3), u"LPT");
    const char16_t n = base[3];
    return port && ((n >= u'0' && n <= u'9') || n == u'\u00B9' || n == u'\u00B2' || n == u'\u00B3');
}

} // namespace

std::optional<std::u16string> BodyFileInFolder(std::u16string_view field, std::u16string_view folderName) {
    // Only the writer's own separator: "/" would do on Windows, but no writer puts it there.
    if (field.size() <= folderName.size() + 1 || !SameText(field.substr(0, folderName.size()), folderName) ||
        field[folderName.size()] != u'\\')
        return std::nullopt;
    std::u16string_view name = field.substr(folderName.size() + 1);
    if (std::any_of(name.begin(), name.end(), IsForbidden)) return std::nullopt;
    // Windows drops trailing dots and spaces ("..", ". ." are the folder or its
    // parent; "0.txt." is "0.txt"): no writer makes such names.
    if (name.back() == u'.' || name.back() == u' ') return std::nullopt;
    if (IsDeviceName(name)) return std::nullopt;
    return std::u16string(name);
}

std::u16string FoldedFileName(std::u16string name) {
    for (char16_t& c : name)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return name;
}

} // namespace vn
