#include "note/note_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace vn::note {
namespace {

constexpr Size kOwnerText{60, 13};
constexpr Size kTimeText{100, 13};

struct PlaceCase {
    Size window;
    int bodyMargin;
    Control control;
    Rect expected;
};

TEST(NoteLayout, EveryPartFollowsTheWindowSize) {
    const PlaceCase cases[] = {
        // As created: 450 x 274, body area still H - 160 high.
        {{450, 274}, kBodyBottomMarginInitial, Control::ShapeBackground, {0, 0, 450, 274}},
        {{450, 274}, kBodyBottomMarginInitial, Control::LineShape, {24, 111, 403, 5}},
        {{450, 274}, kBodyBottomMarginInitial, Control::lTitle, {32, 30, 305, 30}},
        {{450, 274}, kBodyBottomMarginInitial, Control::lOwner, {32, 60, 60, 13}},
        {{450, 274}, kBodyBottomMarginInitial, Control::lTime, {237, 60, 100, 13}},
        {{450, 274}, kBodyBottomMarginInitial, Control::ImgSize, {407, 217, 20, 20}},
        {{450, 274}, kBodyBottomMarginInitial, Control::ImgSmall, {0, 0, 100, 100}},
        {{450, 274}, kBodyBottomMarginInitial, Control::lBottomLab, {0, 248, 450, 18}},
        {{450, 274}, kBodyBottomMarginInitial, Control::ImgSave, {24, 80, 75, 24}},
        {{450, 274}, kBodyBottomMarginInitial, Control::ImgImport, {105, 80, 75, 24}},
        {{450, 274}, kBodyBottomMarginInitial, Control::ImgFont, {186, 80, 75, 24}},
        {{450, 274}, kBodyBottomMarginInitial, Control::ImgDelete, {267, 80, 75, 24}},
        {{450, 274}, kBodyBottomMarginInitial, Control::ImgMinimize, {355, 30, 75, 24}},
        // Parts with a W term follow the right edge, those with an H term the bottom.
        {{750, 550}, kBodyBottomMarginRefreshed, Control::LineShape, {24, 111, 703, 5}},
        {{750, 550}, kBodyBottomMarginRefreshed, Control::lTitle, {32, 30, 605, 30}},
        {{750, 550}, kBodyBottomMarginRefreshed, Control::lTime, {537, 60, 100, 13}},
        {{750, 550}, kBodyBottomMarginRefreshed, Control::ImgSize, {707, 493, 20, 20}},
        {{750, 550}, kBodyBottomMarginRefreshed, Control::lBottomLab, {0, 524, 750, 18}},
        {{750, 550}, kBodyBottomMarginRefreshed, Control::ImgMinimize, {655, 30, 75, 24}},
        {{750, 550}, kBodyBottomMarginRefreshed, Control::ImgDelete, {267, 80, 75, 24}},
        {{362, 250}, kBodyBottomMarginRefreshed, Control::ImgSize, {319, 193, 20, 20}},
        {{362, 250}, kBodyBottomMarginRefreshed, Control::lTitle, {32, 30, 217, 30}},
        // A tile: formulas that go below zero give empty parts.
        {{100, 100}, kBodyBottomMarginRefreshed, Control::lTitle, {32, 30, 0, 30}},
    };
    for (const auto& c : cases) {
        const NoteLayout l = ComputeLayout(c.window, c.bodyMargin, kOwnerText, kTimeText);
        EXPECT_EQ(l.Of(c.control), c.expected)
            << std::string(ControlName(c.control).begin(), ControlName(c.control).end()) << " at " << c.window.width
            << "x" << c.window.height;
    }
}

TEST(NoteLayout, BodyAreaIsHMinus160UntilTheRefreshThenHMinus156) {
    const struct {
        Size window;
        int margin;
        Rect body;
    } cases[] = {
        {{450, 274}, kBodyBottomMarginInitial, {24, 120, 377, 114}},
        {{450, 274}, kBodyBottomMarginRefreshed, {24, 120, 377, 118}},
        {{362, 250}, kBodyBottomMarginRefreshed, {24, 120, 289, 94}},
        {{750, 550}, kBodyBottomMarginInitial, {24, 120, 677, 390}},
        {{100, 100}, kBodyBottomMarginRefreshed, {24, 120, 27, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComputeLayout(c.window, c.margin, kOwnerText, kTimeText).body, c.body)
            << c.window.width << "x" << c.window.height << " margin " << c.margin;
}

TEST(NoteLayout, TimeLabelKeepsItsRightEdgeWhateverItsText) {
    for (int textWidth : {0, 1, 90, 305}) {
        const Rect t = ComputeLayout(kInitialSize, kBodyBottomMarginInitial, kOwnerText, {textWidth, 13}).time;
        EXPECT_EQ(t.Right(), 337) << textWidth;
        EXPECT_EQ(t.width, textWidth);
    }
}

TEST(NoteLayout, PressesFindTheTopmostVisiblePart) {
    const NoteLayout normal = ComputeLayout(kInitialSize, kBodyBottomMarginRefreshed, kOwnerText, kTimeText);
    const struct {
        bool minimized;
        Point p;
        Control expected;
    } cases[] = {
        {false, {5, 5}, Control::ShapeBackground},
        {false, {40, 113}, Control::LineShape},
        {false, {300, 59}, Control::lTitle},
        {false, {33, 61}, Control::lOwner},
        {false, {336, 72}, Control::lTime},
        {false, {338, 65}, Control::ShapeBackground},  // right of the time label
        {false, {407, 217}, Control::ImgSize},
        {false, {426, 236}, Control::ImgSize},
        {false, {427, 237}, Control::ShapeBackground},
        {false, {225, 255}, Control::lBottomLab},  // the tagline lies above the background
        {false, {24, 80}, Control::ImgSave},
        {false, {104, 90}, Control::ShapeBackground},  // the gap between two buttons
        {false, {105, 90}, Control::ImgImport},
        {false, {200, 100}, Control::ImgFont},
        {false, {341, 103}, Control::ImgDelete},
        {false, {429, 53}, Control::ImgMinimize},
        {false, {10, 10}, Control::ShapeBackground},  // the hidden tile takes nothing
        {false, {450, 100}, Control::None},
        {false, {-1, 100}, Control::None},
        {true, {10, 10}, Control::ImgSmall},
        {true, {99, 99}, Control::ImgSmall},
        {true, {40, 61}, Control::ImgSmall},  // the hidden owner label takes nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitTest(normal, c.minimized, c.p), c.expected)
            << "(" << c.p.x << "," << c.p.y << ") minimized " << c.minimized;

    const NoteLayout tile = ComputeLayout(kTileSize, kBodyBottomMarginRefreshed, kOwnerText, kTimeText);
    EXPECT_EQ(HitTest(tile, true, {50, 50}), Control::ImgSmall);
    EXPECT_EQ(HitTest(tile, true, {100, 50}), Control::None);
}

TEST(NoteLayout, DragAreaIsTheBackgroundSeparatorLabelsAndTileOnly) {
    const Control drag[] = {Control::ShapeBackground, Control::LineShape, Control::lTitle,
                            Control::lOwner,          Control::lTime,     Control::ImgSmall};
    const Control other[] = {Control::None,      Control::ImgSize,   Control::lBottomLab, Control::ImgSave,
                             Control::ImgImport, Control::ImgDelete, Control::ImgFont,    Control::ImgMinimize};
    for (Control c : drag) EXPECT_TRUE(IsDragArea(c)) << static_cast<int>(c);
    for (Control c : other) EXPECT_FALSE(IsDragArea(c)) << static_cast<int>(c);
}

TEST(NoteLayout, ResizeClampsEachSideAndIgnoresMovesInsideTheDeadZone) {
    const Size current{450, 274};
    const Point start = ResizeStartPoint({1000, 700}, current);
    ASSERT_EQ(start, (Point{550, 426}));
    const struct {
        Point cursor;
        std::optional<Size> expected;
    } cases[] = {
        {{1000, 700}, std::nullopt},                  // no change
        {{1010, 710}, std::nullopt},                  // 10 px on both sides: dead zone
        {{990, 690}, std::nullopt},                   // -10 px on both sides
        {{1011, 700}, Size{461, 274}},                // 11 px wide: both take their values
        {{1011, 705}, Size{461, 279}},
        {{1005, 689}, Size{455, 263}},                // 11 px less high
        {{2000, 700}, Size{750, 274}},                // width stops at 750 on its own
        {{100, 700}, Size{362, 274}},                 // ... and at 362
        {{1000, 2000}, Size{450, 550}},               // height stops at 550
        {{1000, -500}, Size{450, 250}},               // ... and at 250
        {{-3000, -3000}, Size{362, 250}},
        {{3000, 3000}, Size{750, 550}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResizeStep(c.cursor, start, current), c.expected) << c.cursor.x << "," << c.cursor.y;
}

TEST(NoteLayout, ClampedResizeNearALimitIsStillSubjectToTheDeadZone) {
    // At 755 wanted, clamped to 750: 5 px from a 745-wide window is inside the dead zone.
    const Size current{745, 300};
    const Point start = ResizeStartPoint({800, 400}, current);
    EXPECT_EQ(ResizeStep({810, 400}, start, current), std::nullopt);
    EXPECT_EQ(ResizeStep({810, 411}, start, current), (Size{750, 311}));
}

TEST(NoteLayout, RegionAndOutlineEllipses) {
    const struct {
        Size window;
        int region;
        int outline;
    } cases[] = {
        {{450, 274}, 73, 68},
        {{100, 100}, 30, 24},
        {{362, 250}, 67, 62},
        {{750, 550}, 142, 137},
        {{550, 750}, 142, 137},
        {{451, 451}, 117, 112},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RegionEllipse(c.window), c.region) << c.window.width << "x" << c.window.height;
        EXPECT_EQ(OutlineEllipse(c.window), c.outline) << c.window.width << "x" << c.window.height;
    }
}

TEST(NoteLayout, EditorIsNeverSmallerThanTheBodyAreaLessItsMargins) {
    const struct {
        Size requested;
        Size body;
        Size expected;
    } cases[] = {
        {{0, 0}, {377, 118}, {335, 95}},      // before the first request
        {{304, 104}, {377, 118}, {335, 104}}, // taller content makes it taller
        {{900, 20}, {377, 118}, {900, 95}},   // a long unwrapped line makes it wider
        {{900, 400}, {377, 118}, {900, 400}},
        {{0, 0}, {677, 394}, {635, 371}},
        {{0, 0}, {27, 0}, {0, 0}},            // a tile's body area
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorSize(c.requested, c.body), c.expected)
            << c.requested.width << "x" << c.requested.height << " in " << c.body.width << "x" << c.body.height;
}

TEST(NoteLayout, DraggingFollowsTheCursorWithoutLimits) {
    const Point start = DragStartPoint({130, 95}, {100, 80});
    EXPECT_EQ(start, (Point{30, 15}));
    EXPECT_EQ(DragPosition({131, 95}, start), (Point{101, 80}));  // no threshold
    EXPECT_EQ(DragPosition({5, -20}, start), (Point{-25, -35}));  // off screen is allowed
    EXPECT_EQ(DragStartPoint({0, 0}, {10, -1000}), (Point{-10, 1000}));
}

TEST(NoteLayout, PictureButtonCaptions) {
    const struct {
        std::u16string name;
        std::u16string caption;
    } cases[] = {
        {u"ImgSave", u"Save"},     {u"ImgImport", u"Import"},     {u"ImgFont", u"Font"},
        {u"ImgDelete", u"Delete"}, {u"ImgMinimize", u"Minimize"}, {u"Img", u""},
        {u"Im", u""},              {u"Img" + std::u16string(120, u'x'), std::u16string(100, u'x')},
    };
    for (const auto& c : cases) EXPECT_EQ(PictureButtonCaption(c.name), c.caption);
}

TEST(NoteLayout, CaptionOriginRoundsTowardsZero) {
    const struct {
        Size text;
        Point expected;
    } cases[] = {
        {{36, 18}, {19, 3}},
        {{35, 17}, {20, 3}},
        {{75, 24}, {0, 0}},
        {{80, 27}, {-2, -1}},  // wider than the picture: -5 / 2 is -2, not -3
        {{81, 25}, {-3, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(CaptionOrigin(kPictureButtonSize, c.text), c.expected) << c.text.width;
}

} // namespace
} // namespace vn::note
