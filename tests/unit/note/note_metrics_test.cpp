#include "note/note_metrics.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "note/checklist.h"
#include "note/editor_rules.h"
#include "note/note_bounds.h"

namespace vn::note {
namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

// Every length at 100, 125, 150 and 200 %: at 96 DPI exactly the note's own numbers,
// elsewhere value * DPI / 96 with halves away from zero (562.5 -> 563, 1.5 -> 2,
// -16.5 -> -17).
TEST(NoteMetrics, EveryLengthIsItsValueAt96DpiScaledWithOneRoundingRule) {
    const struct {
        const char* name;
        std::function<int(const NoteMetrics&)> of;
        int at[4];
    } rows[] = {
        {"initial width", [](const NoteMetrics& m) { return m.initialSize.width; }, {450, 563, 675, 900}},
        {"initial height", [](const NoteMetrics& m) { return m.initialSize.height; }, {274, 343, 411, 548}},
        {"min width", [](const NoteMetrics& m) { return m.minSize.width; }, {362, 453, 543, 724}},
        {"min height", [](const NoteMetrics& m) { return m.minSize.height; }, {250, 313, 375, 500}},
        {"max width", [](const NoteMetrics& m) { return m.maxSize.width; }, {750, 938, 1125, 1500}},
        {"max height", [](const NoteMetrics& m) { return m.maxSize.height; }, {550, 688, 825, 1100}},
        {"dead zone", [](const NoteMetrics& m) { return m.resizeDeadZone; }, {10, 13, 15, 20}},
        {"tile width", [](const NoteMetrics& m) { return m.tileSize.width; }, {100, 125, 150, 200}},
        {"tile height", [](const NoteMetrics& m) { return m.tileSize.height; }, {100, 125, 150, 200}},
        {"region oversize", [](const NoteMetrics& m) { return m.regionOversize; }, {2, 3, 3, 4}},
        {"region ellipse extra", [](const NoteMetrics& m) { return m.regionEllipseExtra; }, {5, 6, 8, 10}},
        {"outline inset", [](const NoteMetrics& m) { return m.outlineInset; }, {1, 1, 2, 2}},
        {"outline width", [](const NoteMetrics& m) { return m.outlineWidth; }, {2, 3, 3, 4}},
        {"button width", [](const NoteMetrics& m) { return m.pictureButtonSize.width; }, {75, 94, 113, 150}},
        {"button height", [](const NoteMetrics& m) { return m.pictureButtonSize.height; }, {24, 30, 36, 48}},
        {"button corner", [](const NoteMetrics& m) { return m.buttonCornerRadius; }, {4, 5, 6, 8}},
        {"button outline", [](const NoteMetrics& m) { return m.buttonOutlineWidth; }, {1, 1, 2, 2}},
        {"grip width", [](const NoteMetrics& m) { return m.gripSize.width; }, {20, 25, 30, 40}},
        {"grip height", [](const NoteMetrics& m) { return m.gripSize.height; }, {20, 25, 30, 40}},
        {"grip frame", [](const NoteMetrics& m) { return m.gripFrameWidth; }, {1, 1, 2, 2}},
        {"grip first stroke", [](const NoteMetrics& m) { return m.gripFirstStroke; }, {20, 25, 30, 40}},
        {"grip stroke spacing", [](const NoteMetrics& m) { return m.gripStrokeSpacing; }, {5, 6, 8, 10}},
        {"label font", [](const NoteMetrics& m) { return m.labelFontHeight; }, {-11, -14, -17, -22}},
        {"tagline font", [](const NoteMetrics& m) { return m.taglineFontHeight; }, {-12, -15, -18, -24}},
        {"button font", [](const NoteMetrics& m) { return m.buttonFontHeight; }, {18, 23, 27, 36}},
        {"body margin as built", [](const NoteMetrics& m) { return m.bodyBottomMarginInitial; }, {40, 50, 60, 80}},
        {"body margin refreshed", [](const NoteMetrics& m) { return m.bodyBottomMarginRefreshed; }, {36, 45, 54, 72}},
        {"editor left", [](const NoteMetrics& m) { return m.editorInitialBounds.left; }, {20, 25, 30, 40}},
        {"editor top", [](const NoteMetrics& m) { return m.editorInitialBounds.top; }, {1, 1, 2, 2}},
        {"editor width", [](const NoteMetrics& m) { return m.editorInitialBounds.width; }, {304, 380, 456, 608}},
        {"editor height", [](const NoteMetrics& m) { return m.editorInitialBounds.height; }, {104, 130, 156, 208}},
        {"editor width margin", [](const NoteMetrics& m) { return m.editorWidthMargin; }, {42, 53, 63, 84}},
        {"editor height margin", [](const NoteMetrics& m) { return m.editorHeightMargin; }, {23, 29, 35, 46}},
        {"scroll line", [](const NoteMetrics& m) { return m.scrollLine; }, {8, 10, 12, 16}},
        {"wheel notch", [](const NoteMetrics& m) { return m.wheelScroll; }, {10, 13, 15, 20}},
        {"check box left", [](const NoteMetrics& m) { return m.checkBoxLeft; }, {3, 4, 5, 6}},
        {"check box size", [](const NoteMetrics& m) { return m.checkBoxSize; }, {13, 16, 20, 26}},
    };
    for (int i = 0; i < 4; ++i) {
        const NoteMetrics m = NoteMetricsAt(kDpis[i]);
        EXPECT_EQ(m.dpi, kDpis[i]);
        for (const auto& row : rows) EXPECT_EQ(row.of(m), row.at[i]) << row.name << " at " << kDpis[i];
    }
    EXPECT_EQ(NoteMetricsAt(0).initialSize, (Size{450, 274})) << "no DPI counts as 96";
}

// Every part of a note of the initial size at each scale; the label extents are
// measured in the scaled font, so they are given as they are.
TEST(NoteMetrics, EveryPartOfTheLayoutAtEachScale) {
    constexpr Size owner{60, 13}, time{100, 13};
    const struct {
        Control part;
        Rect at[4];
    } rows[] = {
        {Control::ShapeBackground, {{0, 0, 450, 274}, {0, 0, 563, 343}, {0, 0, 675, 411}, {0, 0, 900, 548}}},
        {Control::LineShape, {{24, 111, 403, 5}, {30, 139, 504, 6}, {36, 167, 604, 8}, {48, 222, 806, 10}}},
        {Control::lTitle, {{32, 30, 305, 30}, {40, 38, 382, 38}, {48, 45, 457, 45}, {64, 60, 610, 60}}},
        {Control::lOwner, {{32, 60, 60, 13}, {40, 75, 60, 13}, {48, 90, 60, 13}, {64, 120, 60, 13}}},
        {Control::lTime, {{237, 60, 100, 13}, {322, 75, 100, 13}, {405, 90, 100, 13}, {574, 120, 100, 13}}},
        {Control::ImgSize, {{407, 217, 20, 20}, {509, 272, 25, 25}, {610, 325, 30, 30}, {814, 434, 40, 40}}},
        {Control::ImgSmall, {{0, 0, 100, 100}, {0, 0, 125, 125}, {0, 0, 150, 150}, {0, 0, 200, 200}}},
        {Control::lBottomLab, {{0, 248, 450, 18}, {0, 310, 563, 23}, {0, 372, 675, 27}, {0, 496, 900, 36}}},
        {Control::ImgSave, {{24, 80, 75, 24}, {30, 100, 94, 30}, {36, 120, 113, 36}, {48, 160, 150, 48}}},
        {Control::ImgImport, {{105, 80, 75, 24}, {131, 100, 94, 30}, {158, 120, 113, 36}, {210, 160, 150, 48}}},
        {Control::ImgFont, {{186, 80, 75, 24}, {233, 100, 94, 30}, {279, 120, 113, 36}, {372, 160, 150, 48}}},
        {Control::ImgDelete, {{267, 80, 75, 24}, {334, 100, 94, 30}, {401, 120, 113, 36}, {534, 160, 150, 48}}},
        {Control::ImgMinimize, {{355, 30, 75, 24}, {444, 38, 94, 30}, {532, 45, 113, 36}, {710, 60, 150, 48}}},
    };
    const Rect body[4] = {{24, 120, 377, 114}, {30, 150, 472, 143}, {36, 180, 565, 171}, {48, 240, 754, 228}};
    const int region[4] = {73, 91, 110, 147};
    const int outline[4] = {68, 85, 102, 136};
    for (int i = 0; i < 4; ++i) {
        const NoteMetrics m = NoteMetricsAt(kDpis[i]);
        const NoteLayout l = ComputeLayout(m.initialSize, m.bodyBottomMarginInitial, owner, time, kDpis[i]);
        for (const auto& row : rows)
            EXPECT_EQ(l.Of(row.part), row.at[i])
                << std::string(ControlName(row.part).begin(), ControlName(row.part).end()) << " at " << kDpis[i];
        EXPECT_EQ(l.body, body[i]) << kDpis[i];
        EXPECT_EQ(RegionEllipse(m.initialSize, kDpis[i]), region[i]) << kDpis[i];
        EXPECT_EQ(OutlineEllipse(m.initialSize, kDpis[i]), outline[i]) << kDpis[i];
    }
}

TEST(NoteMetrics, TheGripsLimitsDeadZoneAndTheCheckBoxOffsetsScale) {
    // At 150 %: limits 543 x 375 .. 1125 x 825, dead zone 15.
    constexpr Size window{675, 411};
    EXPECT_EQ(ResizeStep({5000, 0}, {0, 0}, window, 144), (Size{1125, 375}));
    EXPECT_EQ(ResizeStep({0, 5000}, {0, 0}, window, 144), (Size{543, 825}));
    EXPECT_FALSE(ResizeStep({690, 426}, {0, 0}, window, 144)) << "15 px on both sides is inside the dead zone";
    EXPECT_EQ(ResizeStep({691, 411}, {0, 0}, window, 144), (Size{691, 411}));
    EXPECT_EQ(EditorSize({0, 0}, {565, 171}, 144), (Size{502, 136}));
    // The box offset below the caret: 55 px for 72 pt at 96 DPI, 82.5 -> 83 at 144.
    EXPECT_EQ(CheckBoxOffset(72, 144), 83);
    EXPECT_EQ(CheckBoxOffset(10, 144), 2);
    EXPECT_EQ(CheckBoxOffset(72), 55);
    EXPECT_EQ(WheelScrollPosition(100, 2, 1000, 100, 144), 70);
}

// The size a note was given is kept with the DPI it was given at.
TEST(NoteMetrics, ASizeSurvivesAnyNumberOfScaleChangesAndOnlyAResizeChoosesANewOne) {
    NoteBounds bounds;
    bounds.SetDpi(144);
    EXPECT_EQ(bounds.WindowSize(), (Size{675, 411}));
    bounds.Resize(700, 451);  // the person drags the grip at 150 %
    for (int round = 0; round < 5; ++round) {
        bounds.SetDpi(96);
        EXPECT_EQ(bounds.WindowSize(), (Size{467, 301}));
        bounds.Resize(467, 301);  // the system reports the new size back
        bounds.SetDpi(120);
        EXPECT_EQ(bounds.WindowSize(), (Size{584, 376}));
        bounds.SetDpi(144);
        EXPECT_EQ(bounds.WindowSize(), (Size{700, 451})) << "round " << round;
    }
    // A tile remembers the normal size as chosen, also across a change of scale.
    bounds.RememberNormalSize();
    bounds.Resize(150, 150);
    bounds.SetDpi(96);
    EXPECT_EQ(bounds.WindowSize(), (Size{100, 100}));
    EXPECT_EQ(bounds.NormalSize(), (Size{467, 301}));
    bounds.SetDpi(144);
    bounds.RestoreNormalSize();
    EXPECT_EQ(bounds.WindowSize(), (Size{700, 451}));
    // The layout follows the scale.
    EXPECT_EQ(bounds.Layout().save, (Rect{36, 120, 113, 36}));
    EXPECT_EQ(bounds.Layout().body.height, 451 - 180 - 60);
}

} // namespace
} // namespace vn::note
