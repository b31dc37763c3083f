#pragma once
// The controller's view of a note window. The controller lists notes but does not
// own them: a note frees itself when its window goes, and tells the controller
// through the removal notice that the controller registered.
#include <functional>

#include "attach/window_system.h"
#include "store/store_note.h"

namespace vn {

class Jotlet {
public:
    using RemovalNotice = std::function<void(Jotlet& note)>;

    virtual ~Jotlet() = default;
    // Registers (or, with an empty function, cancels) the notice called once when
    // the note's window is destroyed.
    virtual void SetRemovalNotice(RemovalNotice notice) = 0;
    virtual void Hide() = 0;
    // Destroys the note's window; the note frees itself. The removal notice, if
    // still registered, is called on the way.
    virtual void Destroy() = 0;
    // Asks the note to close: it forgets its target and frees itself when the
    // message loop next runs (the removal notice comes then).
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
};

} // namespace vn
