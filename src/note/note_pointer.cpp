#include "note/note_pointer.h"

namespace vn::note {

PointerActions NotePointer::Press(const NoteBounds& bounds, bool minimized, Point at, Point screen,
                                  bool leftDoubleClick) {
    PointerActions actions;
    const Control c = HitTest(bounds.Layout(), minimized, at);
    if (c == Control::None) return actions;
    if (IsPictureButton(c)) {
        // A button acts on the press of any mouse button. It keeps no hold on the
        // mouse: its command may open a dialog.
        actions.command = c;
        return actions;
    }
    // The pressed part gets every move and the release until the release. A drag or
    // a resize starts where the button went down, which the press tells: the cursor
    // may have moved on by the time a busy program reads the press, and the note would
    // then lag behind the pointer by that much for the whole drag.
    hover_.Capture(c);
    actions.capture = true;
    if (IsDragArea(c)) {
        drag_.Begin(screen, bounds.Position());
    } else if (c == Control::ImgSize) {
        resize_.Begin(screen, bounds.WindowSize());
        actions.resizeBegan = true;
    }
    actions.restore = leftDoubleClick && c == Control::ImgSmall;
    return actions;
}

PointerActions NotePointer::Move(const NoteBounds& bounds, bool minimized, Point at, Point cursor) {
    PointerActions actions;
    const Control under = HitTest(bounds.Layout(), minimized, at);
    actions.watchLeave = !hover_.TrackingLeave();
    actions.repaint = HoverOver(under);
    const Control target = hover_.MoveTarget(under);
    if (IsDragArea(target) && drag_.InProcess()) actions.moveTo = drag_.PositionFor(cursor);
    else if (target == Control::ImgSize) actions.resizeTo = resize_.StepFor(cursor, bounds.WindowSize(), bounds.Dpi());
    return actions;
}

PointerActions NotePointer::Release() {
    PointerActions actions;
    const Control target = hover_.ReleaseCapture();
    if (IsDragArea(target)) {
        drag_.End();
    } else if (target == Control::ImgSize) {
        resize_.End();
        actions.resizeEnded = true;
    }
    actions.releaseCapture = true;
    return actions;
}

PointerActions NotePointer::CaptureLost() {
    PointerActions actions;
    hover_.ReleaseCapture();
    drag_.End();
    if (resize_.InProcess()) {
        resize_.End();
        actions.resizeEnded = true;
    }
    return actions;
}

PointerActions NotePointer::Leave() {
    hover_.SetTrackingLeave(false);
    PointerActions actions;
    actions.repaint = HoverOver(Control::None);
    return actions;
}

void NotePointer::Reset() noexcept {
    drag_.End();
    resize_.End();
    hover_.Reset();
}

NoteHover::Change NotePointer::HoverOver(Control under) {
    const NoteHover::Change change = hover_.MoveTo(under);
    if (change.left != Control::None) hover_.SetHovered(change.left, false);
    if (change.entered != Control::None) hover_.SetHovered(change.entered, true);
    return change;
}

} // namespace vn::note
