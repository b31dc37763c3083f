#include "note/editor_rules.h"

#include <gtest/gtest.h>

namespace vn::note {
namespace {

TEST(EditorRules, KeyReleasesThatRefreshTheChecklist) {
    constexpr KeyModifiers none{}, shift{true, false, false}, alt{false, true, false}, ctrl{false, false, true},
        ctrlShift{true, false, true}, ctrlAlt{false, true, true};
    const struct {
        unsigned key;
        KeyModifiers mods;
        bool refreshes;
    } cases[] = {
        {'A', none, true},          {'A', shift, true},          {13, none, true},  // Enter
        {8, none, true},            {46, none, true},            {36, none, true},  // Backspace, Delete, Home
        {kKeyShift, shift, false},  {kKeyControl, ctrl, false},  {kKeyAlt, alt, false},
        {kKeyLeft, none, false},    {kKeyUp, none, false},       {kKeyRight, shift, false},
        {kKeyDown, none, false},    {kKeyV, ctrl, true},         {kKeyX, ctrl, true},
        {kKeyV, ctrlShift, true},   {kKeyX, ctrlAlt, true},      {kKeyC, ctrl, false},
        {'Z', ctrl, false},         {'A', ctrl, false},          {kKeyV, alt, false},
        {'A', alt, false},          {kKeyV, none, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyReleaseRefreshesChecklist(c.key, c.mods), c.refreshes)
            << "key " << c.key << " shift " << c.mods.shift << " alt " << c.mods.alt << " ctrl " << c.mods.ctrl;
}

TEST(EditorRules, WheelDeltasAddUpToNotches) {
    WheelNotches wheel;
    EXPECT_EQ(wheel.Add(120), 1);
    EXPECT_EQ(wheel.Add(-360), -3);
    EXPECT_EQ(wheel.Add(40), 0);
    EXPECT_EQ(wheel.Add(40), 0);
    EXPECT_EQ(wheel.Add(40), 1);  // three thirds of a notch
    EXPECT_EQ(wheel.Add(100), 0);
    EXPECT_EQ(wheel.Add(-30), 0);  // turning back drops the unfinished notch
    EXPECT_EQ(wheel.Add(-90), -1);
}

TEST(EditorRules, WheelScrollsTenPixelsANotchWithinTheContent) {
    const struct {
        int position, notches, content, visible, expected;
    } cases[] = {
        {0, -1, 300, 100, 10},    // towards the user: down
        {50, 2, 300, 100, 30},    // away: up
        {5, 1, 300, 100, 0},      // clamped at the top
        {195, -1, 300, 100, 200}, // clamped at the bottom
        {0, -3, 80, 100, 0},      // content that fits does not scroll
        {0, -1000000000, 300, 100, 200},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WheelScrollPosition(c.position, c.notches, c.content, c.visible), c.expected)
            << c.position << " " << c.notches;
}

TEST(EditorRules, FontDialogCentredAThirdDownTheFreeHeight) {
    EXPECT_EQ(FontDialogPosition({0, 0, 1280, 770}, {440, 350}), (Point{420, 140}));
    EXPECT_EQ(FontDialogPosition({1280, -200, 1920, 1040}, {441, 351}), (Point{1280 + 739, -200 + 229}));
    EXPECT_EQ(FontDialogPosition({0, 0, 400, 300}, {440, 350}), (Point{0, 0}));  // larger than the area
}

} // namespace
} // namespace vn::note
