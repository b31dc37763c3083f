#pragma once
// The window calls that place and show a note, shared by the note window (tracking
// tick) and the controller (a note on a just-picked window).
#include <windows.h>

namespace vn {

class StackingOrder;

// Clears WS_POPUP, WS_CAPTION (border and dialog frame) and WS_THICKFRAME
// (0x7F3BFFFF): the note is created and kept neither a popup nor a child, without a frame.
inline constexpr DWORD kNoteStyleMask = ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_THICKFRAME);
// Added to the note's window class style.
inline constexpr UINT kNoteClassStyleAdd = CS_DROPSHADOW;
// Cleared from the extended style (0x00060201); with the owner, WS_EX_APPWINDOW
// cleared keeps the note off the taskbar.
inline constexpr DWORD kNoteExStyleClear = WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_APPWINDOW;
// Move to a position and show, frame re-evaluated after the style change (0x0265).
inline constexpr UINT kShowAtPositionFlags =
    SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
// Show in place, z-order relative to the target (0x0263).
inline constexpr UINT kShowAboveTargetFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;

// GWL_STYLE AND kNoteStyleMask on an existing window.
void ApplyNoteStyleMask(HWND note);

// Style mask, then SetWindowPos(note, NULL, left, top, 0, 0, kShowAtPositionFlags).
void ShowNoteAtPosition(HWND note, int left, int top);

// Style mask, then SetWindowPos(note, target, 0, 0, 0, 0, kShowAboveTargetFlags).
void ShowNoteAboveTarget(HWND note, HWND target);

// Does for a shown note what Windows does for an owned window: hide it while its
// owner is minimised, show it again after, and keep it above its owner. Wine does
// this only for popup windows of the owner's own process, so a note owned by
// another program's window needs the tracking tick to do it; on Windows every
// step finds nothing to do.
void FollowOwner(HWND note, HWND owner);
// The same for the ticks of many notes, with the stacking order read once for all.
void FollowOwner(HWND note, HWND owner, StackingOrder& order);

// The part of FollowOwner that the desktop's list answers, for a shown note whose
// owner showed no change since it was last followed: false when the owner
// is no longer a top-level window; otherwise the note, where shown, is put back
// above its owner when something came between them.
bool KeepAboveOwnerWhileThere(HWND note, HWND owner, StackingOrder& order);

// Puts `note` right above `owner` in the z-order if it is below it.
void KeepAboveOwner(HWND note, HWND owner);

// The note's creation styles from the form's own: style AND kNoteStyleMask,
// extended style without kNoteExStyleClear.
DWORD NoteCreationStyle(DWORD style);
DWORD NoteCreationExStyle(DWORD exStyle);

} // namespace vn
