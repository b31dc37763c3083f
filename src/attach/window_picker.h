#pragma once
// Picking the window that receives a new note: the controller's picking mode. The
// user clicks a window (the left-button release picks the window that is in the
// foreground 100 ms later), right-clicks to cancel, or brings another program to
// the foreground some other way (a check once a second picks it then).
//
// The controller (TFMain) owns one WindowPicker, implements PickingHost, and only
// forwards: the mouse hook (after CallNextHookEx, see window_picker_win.h) and its
// two timers' ticks.
#include <string>

#include "attach/window_system.h"

namespace vn {

// Mouse messages the hook acts on.
inline constexpr unsigned kMsgLButtonDown = 0x0201;
inline constexpr unsigned kMsgLButtonUp = 0x0202;
inline constexpr unsigned kMsgRButtonDown = 0x0204;
inline constexpr unsigned kMsgRButtonUp = 0x0205;

inline constexpr unsigned kCheckForegroundWindowInterval = 1000;  // ms
inline constexpr unsigned kCaptureWindowInterval = 100;           // ms, fires once

// Prompts, two lines joined by CR LF. The balloon says "a note", the information
// window "the note".
inline constexpr char16_t kBalloonPickPrompt[] =
    u"Select a window to add a note to by left clicking on it.\r\nTo cancel the operation, right click anywhere.";
inline constexpr char16_t kInfoWindowPickPrompt[] =
    u"Select a window to add the note to by left clicking on it.\r\nTo cancel the operation, right click anywhere.";

// A note just created for the picked window, as the capture finishes it.
class PickedNote {
public:
    virtual ~PickedNote() = default;
    // Fills the note from an imported record's value part (owner and time labels,
    // body, pending check states, layout refresh).
    virtual void FillStickyNote(const std::u16string& infoString) = 0;
    // The framework's show; the note's show handler runs.
    virtual void Show() = 0;
};

// What picking asks of the controller.
class PickingHost {
public:
    virtual ~PickingHost() = default;
    // Timers: the picker switches each only when its state changes, so switching
    // the foreground check "on" while it runs never restarts its period.
    virtual void SetCheckForegroundWindowTimer(bool on) = 0;  // kCheckForegroundWindowInterval
    virtual void SetCaptureWindowTimer(bool on) = 0;          // kCaptureWindowInterval
    // Tray balloon with the information icon (NIIF_INFO) and this text; the title stays.
    virtual void ShowBalloonPrompt(const std::u16string& text) = 0;
    // The modeless "Information" window with this text; a window still shown is
    // closed and freed first, so there is at most one.
    virtual void ShowSelectWindowInfo(const std::u16string& text) = 0;
    // Closes and frees the information window if one is shown (variable emptied first).
    virtual void CloseSelectWindowInfo() = 0;
    // AddStickyNoteToWindow: creates the note for the live window `target`
    // (NoteBinding::ForLiveWindow), appends it to FJotlets and registers for its
    // removal notice, then PlaceNoteOnPickedWindow(windows, target, note). Schedules
    // no save. May raise; the access-denied refusal has discarded the note by then,
    // and the capture stops (not filled, not shown, import dialog left alone).
    virtual PickedNote& AddStickyNoteToWindow(WindowId target) = 0;
    // Brings the import dialog to the front if it is showing.
    virtual void BringImportDialogToFrontIfShowing() = 0;
};

class WindowPicker {
public:
    // `ownExeFileName`: the file name part of this program's executable path.
    WindowPicker(WindowSystem& windows, PickingHost& host, std::u16string ownExeFileName);

    bool SelectingCaptureWindow() const noexcept { return FSelectingCaptureWindow; }
    const std::u16string& NewStickyNoteInfoString() const noexcept { return FNewStickyNoteInfoString; }
    bool CheckForegroundWindowTimerOn() const noexcept { return checkForegroundOn_; }
    bool CaptureWindowTimerOn() const noexcept { return captureOn_; }

    // Starts picking: `balloonHintMessage` picks the tray balloon prompt, otherwise
    // the information window; `newInfoString` (a record's value part or empty)
    // replaces the text filled into the next captured note.
    void SelectWindowToAddStickyNote(bool balloonHintMessage, std::u16string newInfoString);

    // One low-level mouse event, already passed on to the next hook. Acts only
    // while picking; never swallows anything.
    void MouseHookEvent(unsigned message);

    void CheckForegroundWindowTimerTimer();
    void CaptureWindowTimerTimer();

private:
    void SetCheckForeground(bool on);
    void SetCapture(bool on);
    void EndPicking(bool capture);

    WindowSystem& windows_;
    PickingHost& host_;
    std::u16string ownExeFileName_;
    bool FSelectingCaptureWindow = false;
    std::u16string FNewStickyNoteInfoString;
    bool checkForegroundOn_ = false;
    bool captureOn_ = false;
};

} // namespace vn
