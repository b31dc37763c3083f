#pragma once
// Picking the window that receives a new note: the controller's picking mode. The
// user clicks a window (the left-button release picks the window that is in the
// foreground 100 ms later), right-clicks to cancel, or brings another program to
// the foreground some other way (a check once a second picks it then).
//
// The picker keeps the picking state and switches its two timers; every step
// returns what the controller has to do (show or close a prompt, make a note on the
// picked window). It calls nothing back.
#include <chrono>
#include <optional>
#include <string>

#include "attach/window_system.h"
#include "platform/timer.h"

namespace vn {

// CheckForegroundWindowTimer: while picking, until a mouse button goes down.
inline constexpr std::chrono::milliseconds kCheckForegroundWindowTimerInterval{1000};
// CaptureWindowTimer: one-shot, armed when picking ends with a pick.
inline constexpr std::chrono::milliseconds kCaptureWindowTimerInterval{100};

// Prompts, two lines joined by CR LF. The balloon says "a note", the information
// window "the note".
inline constexpr char16_t kBalloonPickPrompt[] =
    u"Select a window to add a note to by left clicking on it.\r\nTo cancel the operation, right click anywhere.";
inline constexpr char16_t kInfoWindowPickPrompt[] =
    u"Select a window to add the note to by left clicking on it.\r\nTo cancel the operation, right click anywhere.";

// The mouse events the hook tells apart (the Windows side maps the messages).
enum class MouseButtonEvent { LeftDown, LeftUp, RightDown, RightUp, Other };

// The prompt that starting to pick asks for.
enum class PickPrompt { TrayBalloon, InformationWindow };

// How a mouse event or a foreground check left picking.
enum class PickingState {
    Unchanged,     // still picking, or not picking at all
    Cancelled,     // picking ended without a pick: close the prompt
    CaptureArmed,  // picking ended with a pick: close the prompt; the capture follows
};

// What the capture found: the window that gets the note, and the record to fill
// it from (empty for an empty note).
struct PickedWindow {
    WindowId target = kNoWindow;
    std::u16string infoString;
};

// Whether a note may go onto `target`: a window that is not one of the program's
// own and has a caption. A pick and the hotkey's note both ask it.
bool WindowMayTakeNote(const WindowSystem& windows, WindowId target);

class WindowPicker {
public:
    // `checkForeground` and `capture` tick into CheckForegroundWindowTimerTimer and
    // CaptureWindowTimerTimer. `ownExeFileName`: the file name part of this
    // program's executable path.
    WindowPicker(WindowSystem& windows, Timer& checkForeground, Timer& capture, std::u16string ownExeFileName);

    bool SelectingCaptureWindow() const noexcept { return FSelectingCaptureWindow; }
    const std::u16string& NewStickyNoteInfoString() const noexcept { return FNewStickyNoteInfoString; }

    // Starts picking: `balloonHintMessage` picks the tray balloon prompt, otherwise
    // the information window; `newInfoString` (a record's value part or empty)
    // replaces the text filled into the next captured note. Returns the prompt to show.
    PickPrompt SelectWindowToAddStickyNote(bool balloonHintMessage, std::u16string newInfoString);

    // One low-level mouse event, already passed on to the next hook. Acts only
    // while picking; never swallows anything.
    PickingState MouseHookEvent(MouseButtonEvent event);

    PickingState CheckForegroundWindowTimerTimer();
    // The capture: the foreground window, unless it is one of the program's own or
    // has no caption.
    std::optional<PickedWindow> CaptureWindowTimerTimer();
    // The captured note was made (and filled): the record is used up.
    void NoteMadeForPick() { FNewStickyNoteInfoString.clear(); }

private:
    PickingState EndPicking(bool capture);

    WindowSystem& windows_;
    Timer& checkForeground_;
    Timer& capture_;
    std::u16string ownExeFileName_;
    bool FSelectingCaptureWindow = false;
    std::u16string FNewStickyNoteInfoString;
};

} // namespace vn
