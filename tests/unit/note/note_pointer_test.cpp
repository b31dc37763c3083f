// The note's drag, resize and hover state, and the mouse rule over them, apart from
// any window.
#include "note/note_bounds.h"
#include "note/note_drag.h"
#include "note/note_hover.h"
#include "note/note_pointer.h"
#include "note/note_resize.h"

#include <gtest/gtest.h>

#include <vector>

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

// Mouse events in a row, each with what the note window is to do for it. The note
// lies at (100, 80) in its first size; where a point is on the screen matters only for
// the drag and the resize, and only as the press and the moves give it.
TEST(NotePointer, RoutesPressesMovesAndReleasesToTheirActions) {
    NoteBounds bounds;
    bounds.Move(100, 80);
    const NoteLayout l = bounds.Layout();
    auto mid = [](const Rect& r) { return Point{r.left + r.width / 2, r.top + r.height / 2}; };
    const Point title = mid(l.title), save = mid(l.save), font = mid(l.font), grip = mid(l.grip),
                tile = mid(l.tile), outside{-5, -5};
    enum Event { Press, DoubleClick, Move, Release, CaptureLost, Leave };
    struct Step {
        Event event;
        Point at;      // in the window
        Point screen;  // the press, or the cursor of a move
        PointerActions expected;
    };
    const struct {
        const char* what;
        bool minimized;
        std::vector<Step> steps;
    } cases[] = {
        {"a picture button acts on the press and holds nothing",
         false,
         {{Press, save, {}, {.command = Control::ImgSave}},
          {Release, save, {}, {.releaseCapture = true}}}},
        {"nothing is pressed outside the parts",
         false,
         {{Press, outside, {}, {}}}},
        {"the title drags from where the button went down until the release",
         false,
         {{Press, title, {130, 95}, {.capture = true}},
          {Move, title, {140, 60}, {.watchLeave = true, .moveTo = Point{110, 45}}},
          {Release, title, {}, {.releaseCapture = true}},
          {Move, title, {300, 300}, {}}}},
        {"the held title gets the moves over a button, which still hovers",
         false,
         {{Press, title, {130, 95}, {.capture = true}},
          {Move, save, {131, 95},
           {.watchLeave = true, .repaint = {Control::None, Control::ImgSave}, .moveTo = Point{101, 80}}},
          {Move, font, {132, 95}, {.repaint = {Control::ImgSave, Control::ImgFont}, .moveTo = Point{102, 80}}},
          {Leave, outside, {}, {.repaint = {Control::ImgFont, Control::None}}},
          {Move, title, {133, 95}, {.watchLeave = true, .moveTo = Point{103, 80}}}}},
        {"the grip resizes outside the dead zone and ends with the release",
         false,
         {{Press, grip, {500, 300}, {.capture = true, .resizeBegan = true}},
          {Move, grip, {510, 310}, {.watchLeave = true}},
          {Move, title, {511, 300}, {.resizeTo = Size{461, 274}}},
          {Release, title, {}, {.resizeEnded = true, .releaseCapture = true}},
          {Move, grip, {600, 400}, {}}}},
        {"losing the mouse ends a resize as a release would, once",
         false,
         {{Press, grip, {500, 300}, {.capture = true, .resizeBegan = true}},
          {CaptureLost, grip, {}, {.resizeEnded = true}},
          {CaptureLost, grip, {}, {}},
          {Move, grip, {600, 400}, {.watchLeave = true}},
          {Release, grip, {}, {.releaseCapture = true}}}},
        {"losing the mouse ends a drag",
         false,
         {{Press, title, {130, 95}, {.capture = true}},
          {CaptureLost, title, {}, {}},
          {Move, title, {300, 300}, {.watchLeave = true}}}},
        {"a double click on the tile restores the note, a single press drags it",
         true,
         {{DoubleClick, tile, {150, 120}, {.capture = true, .restore = true}},
          {Release, tile, {}, {.releaseCapture = true}},
          {Press, tile, {150, 120}, {.capture = true}},
          {Press, title, {}, {.capture = true}}}},  // a tile shows no title: its background drags
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NotePointer pointer;
        int n = 0;
        for (const Step& step : c.steps) {
            SCOPED_TRACE(n++);
            PointerActions actions;
            switch (step.event) {
            case Press:
            case DoubleClick:
                actions = pointer.Press(bounds, c.minimized, step.at, step.screen, step.event == DoubleClick);
                break;
            case Move: actions = pointer.Move(bounds, c.minimized, step.at, step.screen); break;
            case Release: actions = pointer.Release(); break;
            case CaptureLost: actions = pointer.CaptureLost(); break;
            case Leave: actions = pointer.Leave(); break;
            }
            EXPECT_EQ(actions.watchLeave, step.expected.watchLeave);
            EXPECT_EQ(actions.repaint, step.expected.repaint);
            EXPECT_EQ(actions.capture, step.expected.capture);
            EXPECT_EQ(actions.resizeBegan, step.expected.resizeBegan);
            EXPECT_EQ(actions.moveTo, step.expected.moveTo);
            EXPECT_EQ(actions.resizeTo, step.expected.resizeTo);
            EXPECT_EQ(actions.resizeEnded, step.expected.resizeEnded);
            EXPECT_EQ(actions.releaseCapture, step.expected.releaseCapture);
            EXPECT_EQ(actions.restore, step.expected.restore);
            EXPECT_EQ(actions.command, step.expected.command);
            if (actions.watchLeave) pointer.LeaveWatched(true);
            if (actions.repaint.entered != Control::None) EXPECT_EQ(pointer.Hovered(), actions.repaint.entered);
        }
    }
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
