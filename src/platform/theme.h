#pragma once
// The program's look, shared by all of its dialogs and message windows: a small
// table of colours and one font. Notes keep their own colours and do not use it.
// A theme is a text resource of the program ("Key = Value" lines, '#' comments,
// colours as #RRGGBB); every key must be present, so a broken resource is caught
// when it is read rather than showing up as a black dialog.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vn {

enum class ThemeRole : unsigned {
    Window,         // dialog and panel background
    WindowText,     // labels
    Control,        // button faces, list headers
    ControlText,
    Edit,           // edit and list backgrounds
    EditText,
    Border,         // frames and separators
    Highlight,      // selection, default button accent
    HighlightText,
    Count
};

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Theme {
    std::array<Rgb, static_cast<size_t>(ThemeRole::Count)> colors{};
    std::u16string fontName;
    int fontSizePoints = 9;

    Rgb Color(ThemeRole role) const { return colors[static_cast<size_t>(role)]; }
};

// The key of a role in the theme text ("Window", "WindowText", ...).
std::string_view ThemeRoleKey(ThemeRole role);

// Reads a theme text (UTF-8). Raises vn::Error naming the line for a malformed
// line, an unknown key, a bad colour or size, and names the first missing key.
Theme ParseTheme(std::string_view text);

// Relative luminance in 0..1 (sRGB weights, no gamma): enough to tell light from dark.
double Luminance(Rgb color);

} // namespace vn
