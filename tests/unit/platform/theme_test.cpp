#include "platform/theme.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/errors.h"

namespace vn {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string FullTheme() {
    std::string text;
    for (unsigned i = 0; i < static_cast<unsigned>(ThemeRole::Count); ++i)
        text += std::string(ThemeRoleKey(static_cast<ThemeRole>(i))) + " = #102030\n";
    return text + "FontName = Tahoma\nFontSize = 9\n";
}

TEST(Theme, TheShippedLightThemeIsCompleteLightAndReadable) {
    std::string text = ReadFile(std::string(VN_SOURCE_DIR) + "/resources/themes/Light.theme");
    ASSERT_FALSE(text.empty());
    Theme theme = ParseTheme(text);
    // Light backgrounds with dark text; the highlight is dark enough for white text.
    for (auto [background, foreground] : {std::pair{ThemeRole::Window, ThemeRole::WindowText},
                                          std::pair{ThemeRole::Control, ThemeRole::ControlText},
                                          std::pair{ThemeRole::Edit, ThemeRole::EditText},
                                          std::pair{ThemeRole::Highlight, ThemeRole::HighlightText}}) {
        double bg = Luminance(theme.Color(background)), fg = Luminance(theme.Color(foreground));
        EXPECT_GT(bg > fg ? bg - fg : fg - bg, 0.5) << ThemeRoleKey(background);
    }
    EXPECT_GT(Luminance(theme.Color(ThemeRole::Window)), 0.85);
    EXPECT_GT(Luminance(theme.Color(ThemeRole::Edit)), 0.85);
    EXPECT_FALSE(theme.fontName.empty());
}

TEST(Theme, ReadsColoursFontAndCommentsWithAnyLineEnd) {
    std::string text = "# comment\r\n\r\n" + FullTheme() + "Highlight=#2f6FB0\r\n";
    Theme theme = ParseTheme(text);
    EXPECT_EQ(theme.Color(ThemeRole::Window), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_EQ(theme.Color(ThemeRole::Highlight), (Rgb{0x2f, 0x6f, 0xb0}));  // a later line wins
    EXPECT_EQ(theme.fontName, u"Tahoma");
    EXPECT_EQ(theme.fontSizePoints, 9);
}

TEST(Theme, RejectsBrokenThemes) {
    struct Case {
        std::string extra;      // appended to a complete theme
        std::string removeKey;  // or: a key left out
        std::string expected;   // part of the message
    } cases[] = {
        {"Window #FFFFFF\n", "", "Key = Value"},
        {"Window = FFFFFF\n", "", "#RRGGBB"},
        {"Window = #FFFFF\n", "", "#RRGGBB"},
        {"Window = #GGFFFF\n", "", "#RRGGBB"},
        {"Shadow = #000000\n", "", "unknown key Shadow"},
        {"FontSize = 200\n", "", "font size"},
        {"FontSize = x\n", "", "font size"},
        {"FontName = \n", "", "font name"},
        {"", "Border", "lacks Border"},
        {"", "FontName", "lacks FontName"},
    };
    for (const auto& c : cases) {
        std::string text = FullTheme() + c.extra;
        if (!c.removeKey.empty()) {
            auto at = text.find(c.removeKey + " =");
            text.erase(at, text.find('\n', at) - at + 1);
        }
        try {
            ParseTheme(text);
            ADD_FAILURE() << "accepted: " << c.extra << c.removeKey;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace vn
