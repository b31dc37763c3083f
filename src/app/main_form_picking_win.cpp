// The controller's side of picking the window that receives a new note. The
// picking logic (attach/) decides; the controller gives it the hook, the timers,
// the balloon and the note list. Until the picker is wired here, picking shows
// its prompt and ends at the next button release without creating a note.
#include "app/main_form_win.h"

#include "attach/window_picker.h"

namespace vn {

void TFMain::SelectWindowToAddStickyNote(bool ABalloonHintMessage, const std::u16string& ANewInfoString) {
    FSelectingCaptureWindow = true;
    FNewStickyNoteInfoString = ANewInfoString;
    if (ABalloonHintMessage) {
        TrayIcon_.SetBalloonIcon(kBalloonInfo);
        TrayIcon_.SetBalloonText(kBalloonPickPrompt);
        TrayIcon_.ShowBalloon();
    }
}

// Called for every mouse event on the desktop, after the next hook: only a flag
// test outside picking.
void TFMain::MouseHookEvent(UINT message) {
    if (!FSelectingCaptureWindow) return;
    if (message == WM_LBUTTONUP || message == WM_RBUTTONUP) FSelectingCaptureWindow = false;
}

void TFMain::CheckForegroundWindowTimerTimer() {
    SetTimerEnabled(ControllerTimer::CheckForegroundWindowTimer, false);
}

void TFMain::CaptureWindowTimerTimer() { SetTimerEnabled(ControllerTimer::CaptureWindowTimer, false); }

} // namespace vn
