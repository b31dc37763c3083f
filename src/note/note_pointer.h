#pragma once
// NotePointer routes the mouse over the parts drawn on the note, which are no windows
// of their own: the title area drags the note, the grip resizes it, the picture
// buttons hover and act on a press, a double click on the tile restores the note.
// Each mouse event comes in with its point and goes out as what the note window is to
// do; the rule keeps the drag, the resize and the hover state between events.
#include <optional>

#include "note/note_bounds.h"
#include "note/note_drag.h"
#include "note/note_hover.h"
#include "note/note_resize.h"

namespace vn::note {

// What the note window does for one mouse event, in the order of the fields.
struct PointerActions {
    // Start watching for the mouse leaving the window; NotePointer::LeaveWatched
    // tells whether that worked.
    bool watchLeave = false;
    // The picture buttons to repaint: the one the mouse left and the one it entered.
    NoteHover::Change repaint{};
    // Hold on to the mouse until the release.
    bool capture = false;
    // A resize by the grip began (`ImgSizeMouseDown`): the note turns opaque and its
    // body scrolls back to its top-left corner.
    bool resizeBegan = false;
    // Where the window goes while it is dragged by the title area (`TitleShapeMouseMove`).
    std::optional<Point> moveTo{};
    // The window's new size while the grip is dragged (`ImgSizeMouseMove`).
    std::optional<Size> resizeTo{};
    // The resize ended (`ImgSizeMouseUp`): opacity and scroll bars come back.
    bool resizeEnded = false;
    // Let go of the mouse.
    bool releaseCapture = false;
    // A double click on the tile: the note gets back its size (`ImgSmallDblClick`).
    bool restore = false;
    // The picture button pressed; its command runs last, as it may open a dialog.
    Control command = Control::None;

    friend bool operator==(const PointerActions&, const PointerActions&) = default;
};

class NotePointer {
public:
    // A press of any button at `at` (window coordinates; `screen`: the same point on
    // the screen) on the note of `bounds`, a tile when `minimized`.
    PointerActions Press(const NoteBounds& bounds, bool minimized, Point at, Point screen, bool leftDoubleClick);
    // A move to `at`, the cursor at `cursor` on the screen.
    PointerActions Move(const NoteBounds& bounds, bool minimized, Point at, Point cursor);
    // A release of any button.
    PointerActions Release();
    // Another window took the mouse (a dialog, a switch to another program): what the
    // press started ends as a release would end it, so that the note is not left
    // half-way through a resize without its opacity.
    PointerActions CaptureLost();
    // The mouse left the window.
    PointerActions Leave();
    // Whether watching for the mouse leaving the window could be started.
    void LeaveWatched(bool watched) noexcept { hover_.SetTrackingLeave(watched); }
    // The window went: nothing is under the mouse, held by it or under way.
    void Reset() noexcept;

    // The picture button drawn hovered.
    Control Hovered() const noexcept { return hover_.Hovered(); }
    bool Dragging() const noexcept { return drag_.InProcess(); }
    bool Resizing() const noexcept { return resize_.InProcess(); }

private:
    NoteHover::Change HoverOver(Control under);

    NoteDrag drag_;
    NoteResize resize_;
    NoteHover hover_;
};

} // namespace vn::note
