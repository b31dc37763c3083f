#include "app/hotkey_setting.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(HotkeySetting, WrittenCombinationsReadAndNameAsThePersonWritesThem) {
    struct Case {
        std::u16string text;
        HotkeyCombination keys;
        std::u16string name;
    } const cases[] = {
        {u"Win+Alt+N", {kHotkeyWin | kHotkeyAlt, 'N'}, u"Win+Alt+N"},
        {u" alt + win + f ", {kHotkeyWin | kHotkeyAlt, 'F'}, u"Win+Alt+F"},
        {u"Ctrl+Shift+F12", {kHotkeyCtrl | kHotkeyShift, 0x7B}, u"Ctrl+Shift+F12"},
        {u"Control+Alt+7", {kHotkeyCtrl | kHotkeyAlt, '7'}, u"Ctrl+Alt+7"},
        {u"Alt+Space", {kHotkeyAlt, 0x20}, u"Alt+Space"},
        {u"Windows+F1", {kHotkeyWin, 0x70}, u"Win+F1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        const HotkeySetting setting = ParseHotkey(c.text);
        ASSERT_EQ(setting.kind, HotkeySetting::Kind::Keys);
        EXPECT_EQ(setting.keys, c.keys);
        EXPECT_EQ(HotkeyName(setting.keys), c.name);
    }
}

TEST(HotkeySetting, OffTurnsTheHotkeyOffAndAnythingUnreadableIsInvalid) {
    EXPECT_EQ(ParseHotkey(u"Off").kind, HotkeySetting::Kind::Off);
    EXPECT_EQ(ParseHotkey(u" none ").kind, HotkeySetting::Kind::Off);
    for (const std::u16string text : {u"", u"N", u"Win+Alt", u"Win+Alt+N+M", u"Win+Win+N", u"Win+Alt+Enter",
                                       u"Win+Alt+F25", u"Win+Alt+F0", u"Win++N", u"Win+Alt+ñ"}) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        EXPECT_EQ(ParseHotkey(text).kind, HotkeySetting::Kind::Invalid);
    }
}

} // namespace
} // namespace vn
