#include "platform/theme.h"

#include <optional>

#include "platform/errors.h"

namespace vn {
namespace {
constexpr std::array<std::string_view, static_cast<size_t>(ThemeRole::Count)> kRoleKeys = {
    "Window", "WindowText", "Control", "ControlText", "Edit", "EditText", "Border", "Highlight", "HighlightText"};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<Rgb> ParseColor(std::string_view v) {
    if (v.size() != 7 || v[0] != '#') return std::nullopt;
    int d[6];
    for (int i = 0; i < 6; ++i) {
        d[i] = HexDigit(v[static_cast<size_t>(i) + 1]);
        if (d[i] < 0) return std::nullopt;
    }
    return Rgb{static_cast<std::uint8_t>(d[0] * 16 + d[1]), static_cast<std::uint8_t>(d[2] * 16 + d[3]),
               static_cast<std::uint8_t>(d[4] * 16 + d[5])};
}

std::optional<int> ParseSize(std::string_view v) {
    if (v.empty() || v.size() > 2) return std::nullopt;
    int n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n < 6 || n > 24) return std::nullopt;
    return n;
}

// Theme texts are ours and ASCII in practice; anything else is taken byte by
// byte as Latin-1, which is never wrong for ASCII font names.
std::u16string Widen(std::string_view s) { return std::u16string(s.begin(), s.end()); }

[[noreturn]] void Fail(int line, const std::string& what) {
    throw Error("Theme line " + std::to_string(line) + ": " + what);
}
} // namespace

std::string_view ThemeRoleKey(ThemeRole role) { return kRoleKeys[static_cast<size_t>(role)]; }

Theme ParseTheme(std::string_view text) {
    Theme theme;
    std::array<bool, kRoleKeys.size()> seenColor{};
    bool seenFontName = false, seenFontSize = false;
    int lineNo = 0;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        auto eq = line.find('=');
        if (eq == std::string_view::npos) Fail(lineNo, "expected Key = Value");
        std::string_view key = Trim(line.substr(0, eq));
        std::string_view value = Trim(line.substr(eq + 1));
        if (key == "FontName") {
            if (value.empty() || value.size() > 31) Fail(lineNo, "font name must have 1 to 31 characters");
            theme.fontName = Widen(value);
            seenFontName = true;
            continue;
        }
        if (key == "FontSize") {
            auto size = ParseSize(value);
            if (!size) Fail(lineNo, "font size must be 6 to 24 points");
            theme.fontSizePoints = *size;
            seenFontSize = true;
            continue;
        }
        bool known = false;
        for (size_t i = 0; i < kRoleKeys.size(); ++i) {
            if (key != kRoleKeys[i]) continue;
            auto color = ParseColor(value);
            if (!color) Fail(lineNo, "colour must be #RRGGBB");
            theme.colors[i] = *color;
            seenColor[i] = true;
            known = true;
        }
        if (!known) Fail(lineNo, "unknown key " + std::string(key));
    }
    for (size_t i = 0; i < kRoleKeys.size(); ++i)
        if (!seenColor[i]) throw Error("Theme lacks " + std::string(kRoleKeys[i]));
    if (!seenFontName) throw Error("Theme lacks FontName");
    if (!seenFontSize) throw Error("Theme lacks FontSize");
    return theme;
}

double Luminance(Rgb c) { return (0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b) / 255.0; }

} // namespace vn
