#include "attach/note_placement_win.h"

#include "attach/note_placement.h"

namespace vn {

void ApplyNoteStyleMask(HWND note) {
    LONG style = GetWindowLongW(note, GWL_STYLE);
    SetWindowLongW(note, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(style) & kNoteStyleMask));
}

void ShowNoteAtPosition(HWND note, int left, int top) {
    ApplyNoteStyleMask(note);
    SetWindowPos(note, nullptr, left, top, 0, 0, kShowAtPositionFlags);
}

void ShowNoteAboveTarget(HWND note, HWND target) {
    ApplyNoteStyleMask(note);
    SetWindowPos(note, target, 0, 0, 0, 0, kShowAboveTargetFlags);
}

DWORD NoteCreationStyle(DWORD style) { return style & kNoteStyleMask; }

DWORD NoteCreationExStyle(DWORD exStyle) { return exStyle & ~kNoteExStyleClear; }

} // namespace vn
