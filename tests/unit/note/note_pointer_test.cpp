// The note's drag, resize and hover state, apart from any window.
#include "note/note_bounds.h"
#include "note/note_drag.h"
#include "note/note_hover.h"
#include "note/note_resize.h"

#include <gtest/gtest.h>

namespace vn::note {
namespace {

TEST(NotePointer, DragMovesOnlyBetweenPressAndRelease) {
    NoteDrag drag;
    EXPECT_FALSE(drag.InProcess());
    drag.Begin({130, 95}, {100, 80});
    ASSERT_TRUE(drag.InProcess());
    EXPECT_EQ(drag.PositionFor({140, 60}), (Point{110, 45}));
    drag.End();
    EXPECT_FALSE(drag.InProcess());
}

TEST(NotePointer, ResizeStepsOnlyWhileUnderWayAndOutsideTheDeadZone) {
    NoteResize resize;
    EXPECT_FALSE(resize.StepFor({900, 900}, kInitialSize));  // a stray move before any press
    resize.Begin({500, 300}, kInitialSize);  // start point (50, 26)
    EXPECT_FALSE(resize.StepFor({510, 310}, kInitialSize));
    EXPECT_EQ(resize.StepFor({511, 300}, kInitialSize), (Size{461, 274}));
    EXPECT_EQ(resize.StepFor({2000, 0}, kInitialSize), (Size{kMaxSize.width, kMinSize.height}));
    resize.End();
    EXPECT_FALSE(resize.StepFor({600, 400}, kInitialSize));
}

TEST(NotePointer, HoverRepaintsTheButtonLeftAndTheButtonEntered) {
    NoteHover hover;
    const struct {
        Control under;
        Control left;
        Control entered;
    } steps[] = {
        {Control::lTitle, Control::None, Control::None},       // labels do not hover
        {Control::ImgSave, Control::None, Control::ImgSave},
        {Control::ImgSave, Control::None, Control::None},       // no repaint while it stays
        {Control::ImgFont, Control::ImgSave, Control::ImgFont},
        {Control::ShapeBackground, Control::ImgFont, Control::None},
    };
    for (const auto& s : steps) {
        const NoteHover::Change change = hover.MoveTo(s.under);
        EXPECT_EQ(change.left, s.left);
        EXPECT_EQ(change.entered, s.entered);
        if (change.left != Control::None) hover.SetHovered(change.left, false);
        if (change.entered != Control::None) hover.SetHovered(change.entered, true);
    }
    EXPECT_EQ(hover.Hovered(), Control::None);
}

TEST(NotePointer, TheCapturedPartGetsTheMovesUntilTheRelease) {
    NoteHover hover;
    hover.Capture(Control::ImgSize);
    EXPECT_EQ(hover.MoveTarget(Control::lTitle), Control::ImgSize);
    EXPECT_EQ(hover.ReleaseCapture(), Control::ImgSize);
    EXPECT_EQ(hover.MoveTarget(Control::lTitle), Control::lTitle);
    EXPECT_EQ(hover.ReleaseCapture(), Control::None);  // a second release finds nothing
}

TEST(NotePointer, BoundsKeepTheNormalSizeAcrossTheTile) {
    NoteBounds bounds;
    bounds.Resize(600, 400);
    bounds.RememberNormalSize();
    bounds.Resize(kTileSize.width, kTileSize.height);
    EXPECT_EQ(bounds.NormalSize(), (Size{600, 400}));
    // The editor is sized against the body area of the current size and refresh state.
    EXPECT_EQ(bounds.SizeEditor({0, 0}), (Size{0, 0}));
    bounds.Resize(450, 274);
    EXPECT_EQ(bounds.SizeEditor({0, 0}), (Size{335, 91}));
    bounds.SetBodyRefreshed();
    EXPECT_EQ(bounds.SizeEditor({500, 0}), (Size{500, 95}));
}

} // namespace
} // namespace vn::note
