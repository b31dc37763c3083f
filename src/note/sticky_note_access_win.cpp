// The note as a screen reader sees it: the parts drawn on the window as the layout
// places them, and a press of a part through the reader, which goes the way of a click.
#include "note/sticky_note_win.h"

#include "note/note_chrome_win.h"

namespace vn {

using note::Control;

note::NoteAccessView TFStickyNote::AccessView() const {
    note::NoteAccessView v;
    v.layout = bounds_.Layout();
    v.minimized = FMinimized;
    v.hovered = pointer_.Hovered();
    // The drawn part that holds the keyboard focus: a picture button reached with
    // Tab, or the tile.
    v.focused = FocusedPart();
    v.title = lTitle;
    v.owner = lOwner;
    v.time = lTime;
    v.tagline = kTagline;
    return v;
}

void TFStickyNote::PressPart(Control part) {
    // The note may have changed since the press was posted: a part that is hidden
    // now is not pressed.
    if (part == Control::ImgSmall) {
        if (FMinimized) ImgSmallDblClick();
    } else if (note::IsPictureButton(part) && !FMinimized && !closing_) {
        RunCommand(part);
    }
}

} // namespace vn
