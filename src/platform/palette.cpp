#include "platform/palette.h"

namespace vn {
namespace {

enum class Normal { Fixed, System, Picture };

struct ChromeRule {
    Normal normal;
    Rgb fixed;           // with Normal::Fixed
    SystemColor system;  // in high contrast, and with Normal::System
};

// In the order of ChromePart.
constexpr std::array<ChromeRule, static_cast<size_t>(ChromePart::Count)> kChrome{{
    {Normal::Fixed, {252, 252, 135}, SystemColor::Window},      // NoteFill
    {Normal::Fixed, {201, 201, 201}, SystemColor::ButtonFace},  // TileFill
    {Normal::Fixed, {0, 0, 0}, SystemColor::WindowText},        // Outline
    {Normal::Fixed, {150, 150, 150}, SystemColor::GrayText},    // Separator
    {Normal::System, {}, SystemColor::WindowText},              // LabelText
    {Normal::Picture, {}, SystemColor::ButtonFace},             // ButtonFace
    {Normal::Picture, {}, SystemColor::ButtonText},             // ButtonText
    {Normal::Picture, {}, SystemColor::Highlight},              // HoverFace
    {Normal::Picture, {}, SystemColor::HighlightText},          // HoverText
    {Normal::Picture, {}, SystemColor::ButtonFace},             // GripFace
    {Normal::Picture, {}, SystemColor::ButtonText},             // GripStroke
}};

} // namespace

SystemColor HighContrastDialogColor(ThemeRole role) {
    switch (role) {
    case ThemeRole::Window:
    case ThemeRole::Control: return SystemColor::ButtonFace;
    case ThemeRole::WindowText:
    case ThemeRole::ControlText: return SystemColor::ButtonText;
    case ThemeRole::Edit: return SystemColor::Window;
    case ThemeRole::EditText: return SystemColor::WindowText;
    case ThemeRole::Border: return SystemColor::WindowText;  // a frame must stay visible
    case ThemeRole::Highlight: return SystemColor::Highlight;
    case ThemeRole::HighlightText: return SystemColor::HighlightText;
    case ThemeRole::Count: break;
    }
    return SystemColor::Window;
}

std::optional<Rgb> ChromeColor(ChromePart part, bool highContrast, const SystemColors& system) {
    const ChromeRule& rule = kChrome[static_cast<size_t>(part)];
    if (highContrast || rule.normal == Normal::System) return system.Of(rule.system);
    if (rule.normal == Normal::Fixed) return rule.fixed;
    return std::nullopt;
}

std::optional<Rgb> AllNotesColor(AllNotesPart part, bool highContrast, const SystemColors& system) {
    constexpr Rgb kMatchFace{255, 235, 120};
    switch (part) {
    case AllNotesPart::Background: return highContrast ? std::optional(system.Of(SystemColor::Window)) : std::nullopt;
    case AllNotesPart::Text: return highContrast ? std::optional(system.Of(SystemColor::WindowText)) : std::nullopt;
    case AllNotesPart::MatchFace: return highContrast ? system.Of(SystemColor::Highlight) : kMatchFace;
    case AllNotesPart::MatchText:
        return highContrast ? std::optional(system.Of(SystemColor::HighlightText)) : std::nullopt;
    case AllNotesPart::StatusText: return highContrast ? std::optional(system.Of(SystemColor::GrayText)) : std::nullopt;
    case AllNotesPart::Count: break;
    }
    return std::nullopt;
}

std::optional<Rgb> DialogColor(ThemeRole role, const Theme* theme, bool highContrast, const SystemColors& system) {
    if (highContrast) return system.Of(HighContrastDialogColor(role));
    if (theme) return theme->Color(role);
    return std::nullopt;
}

} // namespace vn
