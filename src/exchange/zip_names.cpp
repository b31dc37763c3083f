#include "exchange/zip_names.h"

#include <array>

namespace vn {

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// Characters Windows refuses in file names; ":" also names drives and alternate
// data streams.
bool IsForbiddenCharacter(char16_t c) {
    if (c < 0x20) return true;
    switch (c) {
    case u'<': case u'>': case u':': case u'"': case u'|': case u'?': case u'*':
        return true;
    default:
        return false;
    }
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// Windows opens a device for these names in any folder and with any extension
// ("nul.txt", "COM1.log"), so such an entry would not become a file at all.
bool IsDeviceName(std::u16string_view component) {
    std::u16string_view base = component.substr(0, component.find(u'.'));
    while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
    std::u16string upper;
    for (char16_t c : base) upper += AsciiUpper(c);
    static constexpr std::array<std::u16string_view, 6> kPlain = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
    for (auto name : kPlain)
        if (upper == name) return true;
    if (upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT"))) {
        char16_t d = upper[3];
        // Windows also maps the superscript digits 1, 2 and 3.
        if ((d >= u'1' && d <= u'9') || d == 0x00B9 || d == 0x00B2 || d == 0x00B3) return true;
    }
    return false;
}

} // namespace

std::optional<ZipEntryPath> ZipCleanEntryName(std::u16string_view name) {
    if (name.empty() || IsSeparator(name.front())) return std::nullopt;  // absolute, UNC or rooted
    ZipEntryPath result;
    result.isFolder = IsSeparator(name.back());
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) ++end;
        std::u16string_view component = name.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == u".") continue;
        if (component == u"..") return std::nullopt;
        for (char16_t c : component)
            if (IsForbiddenCharacter(c)) return std::nullopt;
        // Windows drops trailing dots and spaces, so ".. " would climb and "a." would
        // alias "a".
        if (component.back() == u'.' || component.back() == u' ') return std::nullopt;
        if (IsDeviceName(component)) return std::nullopt;
        result.components.emplace_back(component);
    }
    if (result.components.empty() && !result.isFolder) return std::nullopt;
    return result;
}

} // namespace vn
