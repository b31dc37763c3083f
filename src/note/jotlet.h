#pragma once
// The controller's view of a note window. The controller's note list owns its notes:
// a closed note asks to be freed through the removal notice that the list registered,
// and the list frees it then.
#include <functional>

#include "attach/window_system.h"
#include "store/store_note.h"

namespace vn {

class Jotlet {
public:
    using RemovalNotice = std::function<void(Jotlet& note)>;

    virtual ~Jotlet() = default;
    // Registers (or, with an empty function, cancels) the notice called once the note
    // is closed and none of its own handlers is running: its owner frees it then.
    virtual void SetRemovalNotice(RemovalNotice notice) = 0;
    // True while one of the note's own handlers runs (its Save button's dialog, say):
    // freeing the note then would pull it from under that handler.
    virtual bool HandlerRunning() const noexcept = 0;
    virtual void Hide() = 0;
    // Asks the note to close: it forgets its target, and its removal notice comes
    // when the message loop next runs, after any of its own handlers has returned.
    virtual void Close() = 0;
    // The note as the store writes and fills it.
    virtual StoreNote& Stored() noexcept = 0;

    // ---- the note's window, for the controller's modal dialogs
    // The note's own window, or kNoWindow while it has none.
    virtual WindowId NoteWindow() const noexcept = 0;
    // The window the note belongs to: a window, kUnboundWindow, or kNoWindow once closed.
    virtual WindowId TargetWindow() const noexcept = 0;
    // False also while the note has no window.
    virtual bool NoteWindowVisible() const = 0;
    virtual bool NoteWindowEnabled() const = 0;
    // Lets the note's window take input or not; nothing while it has no window.
    virtual void EnableNoteWindow(bool enabled) = 0;
    // Makes the note's window the foreground window; nothing while it has none.
    virtual void ActivateNoteWindow() = 0;

    // ---- the note as the All Notes window shows it
    // The note is shrunk to its tile.
    virtual bool IsTile() const noexcept = 0;
    // Brings the note's window and the note to the front, the note restored from its tile.
    virtual void BringToFront() = 0;
    // The note leaves its identity and belongs to the live window `target` from now on,
    // shown at its corner; its text, ticks and labels stay.
    virtual void StickTo(WindowId target) = 0;
};

} // namespace vn
