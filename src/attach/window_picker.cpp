#include "attach/window_picker.h"

#include <utility>

#include "attach/identity.h"

namespace vn {

WindowPicker::WindowPicker(WindowSystem& windows, Timer& checkForeground, Timer& capture,
                           std::u16string ownExeFileName)
    : windows_(windows), checkForeground_(checkForeground), capture_(capture),
      ownExeFileName_(std::move(ownExeFileName)) {}

PickPrompt WindowPicker::SelectWindowToAddStickyNote(bool balloonHintMessage, std::u16string newInfoString) {
    FSelectingCaptureWindow = true;
    // A check that runs already keeps its period.
    if (!checkForeground_.Enabled()) checkForeground_.Start();
    FNewStickyNoteInfoString = std::move(newInfoString);
    return balloonHintMessage ? PickPrompt::TrayBalloon : PickPrompt::InformationWindow;
}

PickingState WindowPicker::EndPicking(bool capture) {
    checkForeground_.Stop();
    FSelectingCaptureWindow = false;
    if (!capture) return PickingState::Cancelled;
    capture_.Start();
    return PickingState::CaptureArmed;
}

PickingState WindowPicker::MouseHookEvent(MouseButtonEvent event) {
    if (!FSelectingCaptureWindow) return PickingState::Unchanged;
    switch (event) {
    case MouseButtonEvent::LeftDown:
    case MouseButtonEvent::RightDown:
        // From the first press on, only the release decides.
        checkForeground_.Stop();
        return PickingState::Unchanged;
    case MouseButtonEvent::LeftUp: return EndPicking(true);
    case MouseButtonEvent::RightUp: return EndPicking(false);
    case MouseButtonEvent::Other: break;
    }
    return PickingState::Unchanged;
}

PickingState WindowPicker::CheckForegroundWindowTimerTimer() {
    if (!FSelectingCaptureWindow) return PickingState::Unchanged;
    WindowId foreground = windows_.GetForegroundWindow();
    // Between two foreground windows there may be none for a moment; that is no
    // other program taking over, and picking goes on.
    if (foreground == kNoWindow) return PickingState::Unchanged;
    if (IdentityTextEquals(windows_.GetWindowExeName(foreground), ownExeFileName_)) return PickingState::Unchanged;
    return EndPicking(true);
}

bool WindowMayTakeNote(const WindowSystem& windows, WindowId target) {
    return target != kNoWindow && target != kUnboundWindow && !windows.IsOwnWindow(target) &&
           !windows.GetWindowCaption(target).empty();
}

std::optional<PickedWindow> WindowPicker::CaptureWindowTimerTimer() {
    capture_.Stop();
    WindowId target = windows_.GetForegroundWindow();
    if (!WindowMayTakeNote(windows_, target)) return std::nullopt;
    return PickedWindow{target, FNewStickyNoteInfoString};
}

} // namespace vn
