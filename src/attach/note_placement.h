#pragma once
// Window values shared by the tracking tick and by the controller's placement of a
// note on a window the user has just picked.
#include <optional>

#include "attach/window_system.h"

namespace vn {

// A note goes this far right of and below its target's top-left corner (at 96 DPI;
// scaled to the DPI of the target's monitor).
inline constexpr int kTargetCornerOffset = 5;
// A target whose left or top is at or below this is parked off screen (that is
// where the system keeps minimised windows' rectangles).
inline constexpr int kOffScreenLimit = -10000;

// The note as the controller's AddStickyNoteToWindow handles it, once the note has
// been created for the picked window and listed.
class NewNoteWindow {
public:
    virtual ~NewNoteWindow() = default;
    virtual void SetPosition(int left, int top) = 0;
    // Creates the native window owned by the target. Raises
    // TSNCreateWindowHandleAccessDeniedException when the target refuses it.
    virtual void CreateNativeWindowIfNeeded() = 0;
    // Style AND kNoteStyleMask, then SetWindowPos(note, target, 0, 0, 0, 0, kShowAboveTargetFlags).
    virtual void ShowAboveTarget(WindowId target) = 0;
    // Closes the note (it is freed and leaves the note list); used when the
    // target refused it, so that no empty note is left behind.
    virtual void Discard() = 0;
};

// Where a note for `target` goes: the target's top-left corner + (5, 5) at 96 DPI,
// the offset scaled to the DPI of the target's monitor; nothing when the target's
// rectangle cannot be read.
struct NotePosition {
    int left = 0;
    int top = 0;
    bool operator==(const NotePosition&) const = default;
};
std::optional<NotePosition> NotePositionForTarget(const WindowSystem& windows, WindowId target);
// The same for a target's rectangle and the DPI of its monitor.
NotePosition NoteCornerPosition(const ScreenRect& target, int dpi);

// Steps of AddStickyNoteToWindow after the note was created and listed: position,
// native window owned by the target, style mask, shown just above the target. When
// the target refuses the note (access denied) the note is discarded and the
// exception goes on to the application's handler, which shows the error balloon.
void PlaceNoteOnPickedWindow(const WindowSystem& windows, WindowId target, NewNoteWindow& note);

} // namespace vn
