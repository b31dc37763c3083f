#pragma once
// The controller's picking session: the picking state (attach/window_picker.h), its
// two timers on the controller's window, and the "Information" prompt window
// shown while picking starts from the import dialog.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/information_window_win.h"
#include "app/messages_win.h"
#include "attach/window_picker.h"
#include "exchange/import_record.h"
#include "platform/window_timer_win.h"

namespace vn {

// What the capture found: the window that gets the note, and the record to fill it
// from (none for an empty note).
struct PickedForNote {
    WindowId target = kNoWindow;
    std::optional<ImportRecord> record;
};

class PickingSession {
public:
    // The timers tick on `timerWindow` (its WM_TIMER dispatch calls back into the
    // controller); the prompt window is owned by `promptOwner`.
    PickingSession(const Window& timerWindow, const Window& promptOwner, WindowSystem& windows,
                   std::u16string ownExeFileName);

    // Starts picking (SelectWindowToAddStickyNote) for a note that `record` fills, as
    // the import dialog read it (an empty record: an empty note). Shows the
    // information window itself; returns the prompt, so that the controller shows
    // the tray balloon.
    PickPrompt Start(bool balloonHintMessage, ImportRecord record);
    // One low-level mouse event (the hook's message).
    void MouseHookEvent(UINT message);
    void CheckForegroundWindowTimerTimer();
    // The first step of the capture: the picked window and its record, if any.
    std::optional<PickedForNote> Capture();
    // The note for the pick was made: the record is used up.
    void NoteMade();
    // Shutdown: both timers off, the prompt closed.
    void Stop();

    bool SelectingCaptureWindow() const noexcept { return Picker_.SelectingCaptureWindow(); }
    const std::u16string& NewStickyNoteInfoString() const noexcept { return Picker_.NewStickyNoteInfoString(); }
    // The information window while it is shown; null otherwise.
    const InformationWindow* SelectWindowInfo() const noexcept { return SelectWindowInfoForm.get(); }
    bool CheckForegroundTimerEnabled() const { return CheckForegroundWindowTimer.Enabled(); }
    bool CaptureTimerEnabled() const { return CaptureWindowTimer.Enabled(); }

private:
    void ShowSelectWindowInfo();
    void CloseSelectWindowInfo();
    void Ended(PickingState state);

    const Window& promptOwner_;
    WindowTimer CheckForegroundWindowTimer;
    WindowTimer CaptureWindowTimer;
    WindowPicker Picker_;
    // The record whose value part the picker holds (FNewStickyNoteInfoString), read once.
    ImportRecord record_;
    std::unique_ptr<InformationWindow> SelectWindowInfoForm;
};

} // namespace vn
