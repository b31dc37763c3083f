#pragma once
// What a note asks of the program's main controller, as a plain interface: the
// note knows the controller only through it. (The removal notice is registered on
// the note itself: Jotlet::SetRemovalNotice.)
#include "attach/window_changes.h"
#include "note/jotlet.h"

namespace vn {

class NoteChrome;
class NoteCompanionWindow;
class StackingOrder;
class WindowSystem;
namespace note {
class HandleBudget;
}

class NoteHost {
public:
    virtual ~NoteHost() = default;

    // True while the user is picking a window for a new note: every tracking tick
    // of every note does nothing meanwhile.
    virtual bool SelectingCaptureWindow() const = 0;
    // (Re)starts the delayed store save: the editor's change notification.
    virtual void SetSaveChangePending() = 0;
    // The note's text changed (typed into, or a body loaded): its search text is
    // read again. Comes just before SetSaveChangePending.
    virtual void NoteTextChanged(Jotlet&) {}
    // The note's Delete button. A host without a recycle bin just closes the note.
    virtual void NoteDeleteClicked(Jotlet& note) { note.Close(); }
    // The note's Save button: the export dialog.
    virtual void ExportJotlets() = 0;
    // The note's Import button: choose an archive, then the import dialog.
    virtual void ImportStickyNote() = 0;
    // The window system the notes' tracking ticks ask.
    virtual WindowSystem& TrackingWindows() = 0;
    // The hidden window that the host's notes share for their timers, their deferred
    // release and as the owner of a note window without a target. The host owns it
    // and outlives its notes.
    virtual NoteCompanionWindow& NoteCompanion() = 0;
    // The fonts, pictures, brushes and pen every note draws its face with, made once
    // for all notes. The host owns them and outlives its notes.
    virtual NoteChrome& Chrome() = 0;
    // The share of the process's window and drawing objects that the notes' windows
    // and check boxes may take.
    virtual note::HandleBudget& Budget() = 0;
    // The top-level windows' stacking order that the shown notes' ticks share.
    virtual StackingOrder& Stacking() = 0;
    // What changed about the desktop's windows, as the ticks' looks saw it, so that
    // a tick may skip the questions whose answers cannot have changed. A host that
    // does not watch keeps this default: every tick asks everything.
    virtual WindowChanges& Changes() {
        static WindowChanges unwatched;
        return unwatched;
    }
    // The note has just made its window (again): a host that keeps the notes' windows
    // disabled (under a modal dialog) disables this one too, before it can take input.
    virtual void NoteWindowMade(Jotlet&) {}
};

} // namespace vn
