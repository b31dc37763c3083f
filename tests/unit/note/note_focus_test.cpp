// The keyboard on a note apart from any window: the Tab order, the arrows among the
// boxes, what each key does where, and the keyboard's move and size.
#include "note/note_focus.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "note/editor_rules.h"

namespace vn::note {
namespace {

using S = FocusStop;

std::vector<S> Walk(S from, bool backwards, bool boxes, int steps) {
    std::vector<S> visited;
    for (int i = 0; i < steps; ++i) visited.push_back(from = NextStop(from, backwards, boxes));
    return visited;
}

TEST(NoteFocus, TabGoesRoundTheStopsInReadingOrderAndShiftTabBack) {
    EXPECT_EQ(Walk(S::Body, false, true, 7),
              (std::vector<S>{S::Minimize, S::Save, S::Import, S::Font, S::Delete, S::Checklist, S::Body}));
    EXPECT_EQ(Walk(S::Body, true, true, 7),
              (std::vector<S>{S::Checklist, S::Delete, S::Font, S::Import, S::Save, S::Minimize, S::Body}));
    // Without a shown box the checklist is no stop, either way round.
    EXPECT_EQ(Walk(S::Delete, false, false, 2), (std::vector<S>{S::Body, S::Minimize}));
    EXPECT_EQ(Walk(S::Body, true, false, 2), (std::vector<S>{S::Delete, S::Font}));
    // A tile has only itself.
    EXPECT_EQ(NextStop(S::Tile, false, true), S::Tile);
    EXPECT_EQ(NextStop(S::Tile, true, true), S::Tile);
}

TEST(NoteFocus, EveryButtonStopIsItsPictureButtonAndTheWindowsAreNone) {
    std::set<Control> parts;
    for (S stop : {S::Minimize, S::Save, S::Import, S::Font, S::Delete}) {
        EXPECT_TRUE(IsPictureButton(PartOf(stop)));
        parts.insert(PartOf(stop));
    }
    EXPECT_EQ(parts.size(), 5u);
    EXPECT_EQ(PartOf(S::Tile), Control::ImgSmall);
    EXPECT_EQ(PartOf(S::Body), Control::None);
    EXPECT_EQ(PartOf(S::Checklist), Control::None);
}

TEST(NoteFocus, ArrowsGoToTheNextShownBoxAndStopAtTheEnds) {
    const std::set<int> shownLines{2, 3, 7, 99};
    const BoxShown shown = [&](int line) { return shownLines.count(line) > 0; };
    EXPECT_EQ(FirstShownBox(shown), 2);
    const struct {
        int from, step;
        std::optional<int> to;
    } cases[] = {
        {2, 1, 3}, {3, 1, 7}, {7, 1, 99}, {99, 1, std::nullopt},  // the last slot is the end
        {7, -1, 3}, {3, -1, 2}, {2, -1, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(NextShownBox(shown, c.from, c.step), c.to) << c.from << " " << c.step;
    EXPECT_EQ(FirstShownBox([](int) { return false; }), std::nullopt);
}

TEST(NoteFocus, WhatAKeyDoesDependsOnWhereTheFocusIs) {
    const KeyPress tab{kKeyTab}, shiftTab{kKeyTab, true}, ctrlTab{kKeyTab, false, true};
    const KeyPress enter{kKeyReturn}, space{kKeySpace}, heldSpace{kKeySpace, false, false, false, true};
    const KeyPress escape{kKeyEscape}, up{kKeyUp}, down{kKeyDown}, left{kKeyLeft}, right{kKeyRight};
    const KeyPress altF7{kKeyF7, false, false, true}, altF8{kKeyF8, false, false, true}, f7{kKeyF7};
    const KeyPress letter{'A'};
    using K = KeyCommand;
    const struct {
        S at;
        KeyPress key;
        K command;
    } cases[] = {
        {S::Save, tab, K::NextStop},         {S::Save, shiftTab, K::PreviousStop}, {S::Save, ctrlTab, K::None},
        {S::Delete, enter, K::Press},        {S::Font, space, K::Press},           {S::Font, heldSpace, K::None},
        {S::Save, escape, K::None},          {S::Save, down, K::None},             {S::Save, letter, K::None},
        {S::Minimize, altF7, K::BeginMove},  {S::Minimize, altF8, K::BeginSize},   {S::Minimize, f7, K::None},
        // The body keeps every key but Tab and the window's own.
        {S::Body, tab, K::NextStop},         {S::Body, shiftTab, K::PreviousStop}, {S::Body, ctrlTab, K::None},
        {S::Body, enter, K::None},           {S::Body, space, K::None},            {S::Body, escape, K::None},
        {S::Body, altF7, K::BeginMove},      {S::Body, altF8, K::BeginSize},
        // The arrows move among the boxes; Space is the box's own (it ticks itself).
        {S::Checklist, up, K::PreviousBox},  {S::Checklist, left, K::PreviousBox},
        {S::Checklist, down, K::NextBox},    {S::Checklist, right, K::NextBox},
        {S::Checklist, space, K::None},      {S::Checklist, tab, K::NextStop},    {S::Checklist, enter, K::None},
        // A tile restores with Enter (or Space), moves, but has no size of its own to change.
        {S::Tile, enter, K::Restore},        {S::Tile, space, K::Restore},         {S::Tile, tab, K::None},
        {S::Tile, altF7, K::BeginMove},      {S::Tile, altF8, K::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandFor(c.at, c.key), c.command)
            << "stop " << static_cast<int>(c.at) << " key " << c.key.key << " shift " << c.key.shift;
}

NoteBounds BoundsAt(Point position, Size size) {
    NoteBounds b;
    b.Move(position.x, position.y);
    b.Resize(size.width, size.height);
    return b;
}

TEST(NoteFocus, KeyboardMoveStepsTheWindowAndEscPutsItBack) {
    KeyboardSizing sizing;
    NoteBounds bounds = BoundsAt({100, 200}, kInitialSize);
    EXPECT_EQ(sizing.Arrow(kKeyLeft, false, bounds), PointerActions{});  // nothing under way
    EXPECT_EQ(sizing.Begin(KeyboardSizing::Mode::Move, bounds), PointerActions{});
    const struct {
        unsigned key;
        bool fine;
        Point to;
    } steps[] = {{kKeyRight, false, {110, 200}}, {kKeyDown, false, {110, 210}}, {kKeyLeft, true, {109, 210}},
                 {kKeyUp, true, {109, 209}}};
    for (const auto& s : steps) {
        const PointerActions a = sizing.Arrow(s.key, s.fine, bounds);
        ASSERT_EQ(a.moveTo, s.to);
        EXPECT_FALSE(a.resizeTo);
        bounds.Move(s.to.x, s.to.y);  // the window went there
    }
    EXPECT_EQ(sizing.Arrow(kKeyReturn, false, bounds), PointerActions{});
    PointerActions back = sizing.Cancel(bounds);
    EXPECT_EQ(back.moveTo, (Point{100, 200}));
    EXPECT_FALSE(back.resizeEnded);
    EXPECT_EQ(sizing.Active(), KeyboardSizing::Mode::None);

    sizing.Begin(KeyboardSizing::Mode::Move, bounds);
    bounds.Move(300, 300);
    EXPECT_EQ(sizing.Finish(), PointerActions{});  // Enter: it stays
    EXPECT_EQ(sizing.Active(), KeyboardSizing::Mode::None);
}

TEST(NoteFocus, KeyboardSizeGrowsTheCornerWithinTheLimitsAndEscRestoresTheSize) {
    KeyboardSizing sizing;
    NoteBounds bounds = BoundsAt({100, 200}, {745, 255});
    PointerActions began = sizing.Begin(KeyboardSizing::Mode::Size, bounds);
    EXPECT_TRUE(began.resizeBegan);
    // A second Alt+F8 meanwhile starts nothing new.
    EXPECT_EQ(sizing.Begin(KeyboardSizing::Mode::Move, bounds), PointerActions{});
    const struct {
        unsigned key;
        bool fine;
        std::optional<Size> to;
    } steps[] = {
        {kKeyRight, false, Size{750, 255}},       // up to the limit, not past it
        {kKeyRight, false, std::nullopt},         // at the limit: nothing to do
        {kKeyUp, false, Size{750, 250}},          // down to the smallest height
        {kKeyUp, true, std::nullopt},
        {kKeyLeft, true, Size{749, 250}},         // one pixel: no dead zone for a key
        {kKeyDown, false, Size{749, 260}},
    };
    for (const auto& s : steps) {
        const PointerActions a = sizing.Arrow(s.key, s.fine, bounds);
        ASSERT_EQ(a.resizeTo, s.to) << s.key;
        EXPECT_FALSE(a.moveTo);
        if (s.to) bounds.Resize(s.to->width, s.to->height);
    }
    const PointerActions back = sizing.Cancel(bounds);
    EXPECT_EQ(back.resizeTo, (Size{745, 255}));
    EXPECT_TRUE(back.resizeEnded);  // opacity and scroll bars come back

    sizing.Begin(KeyboardSizing::Mode::Size, bounds);
    const PointerActions done = sizing.Finish();
    EXPECT_TRUE(done.resizeEnded);
    EXPECT_FALSE(done.resizeTo);
}

} // namespace
} // namespace vn::note
