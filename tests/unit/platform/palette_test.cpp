#include "platform/palette.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

// Every system colour distinct, so a wrong pick shows as a wrong colour.
SystemColors Distinct() {
    SystemColors s;
    for (unsigned i = 0; i < static_cast<unsigned>(SystemColor::Count); ++i)
        s.colors[i] = Rgb{static_cast<std::uint8_t>(10 + i), static_cast<std::uint8_t>(20 + i),
                          static_cast<std::uint8_t>(30 + i)};
    return s;
}

TEST(Palette, ChromeTakesFixedColoursNormallyAndSystemColoursInHighContrast) {
    const SystemColors system = Distinct();
    using S = SystemColor;
    struct Case {
        ChromePart part;
        std::optional<Rgb> normal;
        SystemColor highContrast;
    };
    const std::optional<Rgb> picture;
    const Case cases[] = {
        {ChromePart::NoteFill, Rgb{252, 252, 135}, S::Window},
        {ChromePart::TileFill, Rgb{201, 201, 201}, S::ButtonFace},
        {ChromePart::Outline, Rgb{0, 0, 0}, S::WindowText},
        {ChromePart::Separator, Rgb{150, 150, 150}, S::GrayText},
        // The labels have always been in the system's window text.
        {ChromePart::LabelText, system.Of(S::WindowText), S::WindowText},
        {ChromePart::ButtonFace, picture, S::ButtonFace},
        {ChromePart::ButtonText, picture, S::ButtonText},
        {ChromePart::HoverFace, picture, S::Highlight},
        {ChromePart::HoverText, picture, S::HighlightText},
        {ChromePart::GripFace, picture, S::ButtonFace},
        {ChromePart::GripStroke, picture, S::ButtonText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.part));
        EXPECT_EQ(ChromeColor(c.part, false, system), c.normal);
        EXPECT_EQ(ChromeColor(c.part, true, system), system.Of(c.highContrast));
    }
}

TEST(Palette, AllNotesKeepsItsLookNormallyAndTakesSystemColoursInHighContrast) {
    const SystemColors system = Distinct();
    using S = SystemColor;
    struct Case {
        AllNotesPart part;
        std::optional<Rgb> normal;  // none: the dialogs' look
        SystemColor highContrast;
    };
    const Case cases[] = {
        {AllNotesPart::Background, std::nullopt, S::Window},
        {AllNotesPart::Text, std::nullopt, S::WindowText},
        // The marked words keep the note's own text colours on a yellow face.
        {AllNotesPart::MatchFace, Rgb{255, 235, 120}, S::Highlight},
        {AllNotesPart::MatchText, std::nullopt, S::HighlightText},
        {AllNotesPart::StatusText, std::nullopt, S::GrayText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.part));
        EXPECT_EQ(AllNotesColor(c.part, false, system), c.normal);
        EXPECT_EQ(AllNotesColor(c.part, true, system), system.Of(c.highContrast));
    }
}

TEST(Palette, HighContrastTextAndItsBackgroundAreNeverTheSamePick) {
    // Under a high-contrast scheme, foreground and background system colours contrast;
    // a pair drawn on each other must therefore never come from the same system colour.
    const SystemColors system = Distinct();
    const std::pair<ChromePart, ChromePart> chromePairs[] = {
        {ChromePart::LabelText, ChromePart::NoteFill}, {ChromePart::Outline, ChromePart::NoteFill},
        {ChromePart::Separator, ChromePart::NoteFill}, {ChromePart::ButtonText, ChromePart::ButtonFace},
        {ChromePart::HoverText, ChromePart::HoverFace}, {ChromePart::GripStroke, ChromePart::GripFace},
        {ChromePart::Outline, ChromePart::TileFill}};
    for (auto [text, back] : chromePairs)
        EXPECT_NE(ChromeColor(text, true, system), ChromeColor(back, true, system)) << static_cast<unsigned>(text);
    const std::pair<AllNotesPart, AllNotesPart> allNotesPairs[] = {{AllNotesPart::Text, AllNotesPart::Background},
                                                                   {AllNotesPart::StatusText, AllNotesPart::Background},
                                                                   {AllNotesPart::MatchText, AllNotesPart::MatchFace}};
    for (auto [text, back] : allNotesPairs)
        EXPECT_NE(AllNotesColor(text, true, system), AllNotesColor(back, true, system)) << static_cast<unsigned>(text);
    const std::pair<ThemeRole, ThemeRole> dialogPairs[] = {{ThemeRole::WindowText, ThemeRole::Window},
                                                           {ThemeRole::ControlText, ThemeRole::Control},
                                                           {ThemeRole::EditText, ThemeRole::Edit},
                                                           {ThemeRole::Border, ThemeRole::Edit},
                                                           {ThemeRole::HighlightText, ThemeRole::Highlight}};
    for (auto [text, back] : dialogPairs)
        EXPECT_NE(DialogColor(text, nullptr, true, system), DialogColor(back, nullptr, true, system))
            << static_cast<unsigned>(text);
}

TEST(Palette, DialogsTakeTheThemeNormallyTheSystemInHighContrastAndTheDefaultLookWithoutATheme) {
    const SystemColors system = Distinct();
    Theme theme;
    for (unsigned i = 0; i < static_cast<unsigned>(ThemeRole::Count); ++i)
        theme.colors[i] = Rgb{200, static_cast<std::uint8_t>(i), 100};
    for (unsigned i = 0; i < static_cast<unsigned>(ThemeRole::Count); ++i) {
        const auto role = static_cast<ThemeRole>(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(DialogColor(role, &theme, false, system), theme.Color(role));
        EXPECT_EQ(DialogColor(role, nullptr, false, system), std::nullopt);
        const std::optional<Rgb> contrast = DialogColor(role, &theme, true, system);
        ASSERT_TRUE(contrast);
        EXPECT_EQ(contrast, DialogColor(role, nullptr, true, system));
        bool isSystemColour = false;
        for (const Rgb& c : system.colors) isSystemColour |= c == *contrast;
        EXPECT_TRUE(isSystemColour);
    }
    EXPECT_EQ(DialogColor(ThemeRole::Window, &theme, true, system), system.Of(SystemColor::ButtonFace));
    EXPECT_EQ(DialogColor(ThemeRole::Edit, &theme, true, system), system.Of(SystemColor::Window));
}

} // namespace
} // namespace vn
