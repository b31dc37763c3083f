#include "attach/note_placement.h"

#include "platform/errors.h"

namespace vn {

std::optional<NotePosition> NotePositionForTarget(const WindowSystem& windows, WindowId target) {
    auto rect = windows.GetWindowRect(target);
    if (!rect) return std::nullopt;
    return NoteCornerPosition(*rect, windows.MonitorDpi(target));
}

NotePosition NoteCornerPosition(const ScreenRect& target, int dpi) {
    const int offset = ScaleForDpi(kTargetCornerOffset, dpi);
    return NotePosition{target.left + offset, target.top + offset};
}

void PlaceNoteOnPickedWindow(const WindowSystem& windows, WindowId target, NewNoteWindow& note) {
    // A target that vanished between the pick and now keeps the note where it was made.
    if (auto position = NotePositionForTarget(windows, target)) note.SetPosition(position->left, position->top);
    try {
        note.CreateNativeWindowIfNeeded();
    } catch (const TSNCreateWindowHandleAccessDeniedException&) {
        note.Discard();
        throw;
    }
    note.ShowAboveTarget(target);
}

} // namespace vn
