#pragma once
// NoteHover owns the mouse's relation to the parts drawn on the note: the picture
// button under it, the part that holds it from a press to the release, and whether
// its leaving the window is being watched.
#include "note/note_layout.h"

namespace vn::note {

class NoteHover {
public:
    // The buttons to repaint when the mouse is over `under`: the one it left and the
    // one it entered (None where nothing changes). Only picture buttons hover.
    struct Change {
        Control left = Control::None;
        Control entered = Control::None;
        friend bool operator==(const Change&, const Change&) = default;
    };
    Change MoveTo(Control under) const noexcept {
        const Control next = IsPictureButton(under) ? under : Control::None;
        if (next == hovered_) return {};
        return {hovered_, next};
    }
    // A button painted hovered or normal.
    void SetHovered(Control button, bool hover) noexcept {
        if (hover) hovered_ = button;
        else if (hovered_ == button) hovered_ = Control::None;
    }
    Control Hovered() const noexcept { return hovered_; }

    // The pressed part gets the moves and the release wherever the mouse goes.
    void Capture(Control part) noexcept { captured_ = part; }
    Control ReleaseCapture() noexcept {
        const Control was = captured_;
        captured_ = Control::None;
        return was;
    }
    // The part that a move goes to: the captured one, else the one under the mouse.
    Control MoveTarget(Control under) const noexcept { return captured_ != Control::None ? captured_ : under; }

    bool TrackingLeave() const noexcept { return trackingLeave_; }
    void SetTrackingLeave(bool on) noexcept { trackingLeave_ = on; }

    // The native window went: nothing is under the mouse or held by it any more.
    void Reset() noexcept { *this = NoteHover(); }

private:
    Control hovered_ = Control::None;
    Control captured_ = Control::None;
    bool trackingLeave_ = false;
};

} // namespace vn::note
