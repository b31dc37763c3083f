#include "attach/window_picker.h"

#include <utility>

#include "attach/identity.h"

namespace vn {

WindowPicker::WindowPicker(WindowSystem& windows, PickingHost& host, std::u16string ownExeFileName)
    : windows_(windows), host_(host), ownExeFileName_(std::move(ownExeFileName)) {}

void WindowPicker::SetCheckForeground(bool on) {
    if (checkForegroundOn_ == on) return;  // a running check keeps its period
    checkForegroundOn_ = on;
    host_.SetCheckForegroundWindowTimer(on);
}

void WindowPicker::SetCapture(bool on) {
    if (captureOn_ == on) return;
    captureOn_ = on;
    host_.SetCaptureWindowTimer(on);
}

void WindowPicker::SelectWindowToAddStickyNote(bool balloonHintMessage, std::u16string newInfoString) {
    FSelectingCaptureWindow = true;
    SetCheckForeground(true);
    FNewStickyNoteInfoString = std::move(newInfoString);
    if (balloonHintMessage)
        host_.ShowBalloonPrompt(kBalloonPickPrompt);
    else
        host_.ShowSelectWindowInfo(kInfoWindowPickPrompt);
}

void WindowPicker::EndPicking(bool capture) {
    SetCheckForeground(false);
    FSelectingCaptureWindow = false;
    host_.CloseSelectWindowInfo();
    if (capture) SetCapture(true);
}

void WindowPicker::MouseHookEvent(unsigned message) {
    if (!FSelectingCaptureWindow) return;
    switch (message) {
    case kMsgLButtonDown:
    case kMsgRButtonDown:
        // From the first press on, only the release decides.
        SetCheckForeground(false);
        break;
    case kMsgLButtonUp:
        EndPicking(true);
        break;
    case kMsgRButtonUp:
        EndPicking(false);
        break;
    default:
        break;
    }
}

void WindowPicker::CheckForegroundWindowTimerTimer() {
    if (!FSelectingCaptureWindow) return;
    WindowId foreground = windows_.GetForegroundWindow();
    // Between two foreground windows there may be none for a moment; that is no
    // other program taking over, and picking goes on.
    if (foreground == kNoWindow) return;
    if (IdentityTextEquals(windows_.GetWindowExeName(foreground), ownExeFileName_)) return;
    EndPicking(true);
}

void WindowPicker::CaptureWindowTimerTimer() {
    SetCapture(false);
    WindowId target = windows_.GetForegroundWindow();
    if (target != kNoWindow && !windows_.IsOwnWindow(target) && !windows_.GetWindowCaption(target).empty()) {
        PickedNote& note = host_.AddStickyNoteToWindow(target);
        if (!FNewStickyNoteInfoString.empty()) {
            note.FillStickyNote(FNewStickyNoteInfoString);
            FNewStickyNoteInfoString.clear();
        }
        note.Show();
    }
    host_.BringImportDialogToFrontIfShowing();
}

} // namespace vn
