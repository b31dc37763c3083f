#include "attach/note_placement_win.h"

#include "attach/note_placement.h"
#include "attach/stacking_order_win.h"

namespace vn {

void ApplyNoteStyleMask(HWND note) {
    LONG style = GetWindowLongW(note, GWL_STYLE);
    SetWindowLongW(note, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(style) & kNoteStyleMask));
}

void ShowNoteAtPosition(HWND note, int left, int top) {
    ApplyNoteStyleMask(note);
    SetWindowPos(note, nullptr, left, top, 0, 0, kShowAtPositionFlags);
}

namespace {
bool IsAbove(HWND upper, HWND lower) {
    for (HWND h = GetWindow(lower, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
        if (h == upper) return true;
    return false;
}
} // namespace

void KeepAboveOwner(HWND note, HWND owner) {
    if (IsAbove(note, owner)) return;
    HWND above = GetWindow(owner, GW_HWNDPREV);
    SetWindowPos(note, above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

namespace {
// Shows or hides the note with its existing owner; true when the note is to be kept
// above it.
bool FollowOwnerShowing(HWND note, HWND owner) {
    if (IsIconic(owner)) {
        if (IsWindowVisible(note)) ShowWindow(note, SW_HIDE);
        return false;
    }
    if (!IsWindowVisible(note)) ShowWindow(note, SW_SHOWNA);
    return true;
}
} // namespace

void FollowOwner(HWND note, HWND owner) {
    if (note && IsWindow(owner) && FollowOwnerShowing(note, owner)) KeepAboveOwner(note, owner);
}

void FollowOwner(HWND note, HWND owner, StackingOrder& order) {
    // The order read for all notes knows whether the owner still exists.
    if (!note || !order.Has(owner) || !FollowOwnerShowing(note, owner) || order.IsAbove(note, owner)) return;
    KeepAboveOwner(note, owner);
    order.Forget();
}

bool KeepAboveOwnerWhileThere(HWND note, HWND owner, StackingOrder& order) {
    if (!order.Has(owner)) return false;
    // A note hidden with its minimised owner waits for the owner's restore.
    if (!note || !IsWindowVisible(note) || order.IsAbove(note, owner)) return true;
    KeepAboveOwner(note, owner);
    order.Forget();
    return true;
}

void ShowNoteAboveTarget(HWND note, HWND target) {
    ApplyNoteStyleMask(note);
    SetWindowPos(note, target, 0, 0, 0, 0, kShowAboveTargetFlags);
    // Windows keeps an owned window above its owner, so inserting the note after
    // its target still leaves it on top of it; Wine does not for another process.
    KeepAboveOwner(note, target);
}

DWORD NoteCreationStyle(DWORD style) { return style & kNoteStyleMask; }

DWORD NoteCreationExStyle(DWORD exStyle) { return exStyle & ~kNoteExStyleClear; }

} // namespace vn
