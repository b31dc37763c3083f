#pragma once
// The window calls that place and show a note, shared by the note window (tracking
// tick) and the controller (a note on a just-picked window).
#include <windows.h>

namespace vn {

// GWL_STYLE AND kNoteStyleMask on an existing window.
void ApplyNoteStyleMask(HWND note);

// Style mask, then SetWindowPos(note, NULL, left, top, 0, 0, kShowAtPositionFlags).
void ShowNoteAtPosition(HWND note, int left, int top);

// Style mask, then SetWindowPos(note, target, 0, 0, 0, 0, kShowAboveTargetFlags).
void ShowNoteAboveTarget(HWND note, HWND target);

// The note's creation styles from the form's own: style AND kNoteStyleMask,
// extended style without kNoteExStyleClear.
DWORD NoteCreationStyle(DWORD style);
DWORD NoteCreationExStyle(DWORD exStyle);

} // namespace vn
