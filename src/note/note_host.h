#pragma once
// What a note asks of the program's main controller. The note knows the controller
// only through this interface, so it does not depend on the controller's window.
// (The removal notice is registered on the note itself: Jotlet::SetRemovalNotice.)
#include <memory>

namespace vn {

class NoteCompanionWindow;
class WindowSystem;

class NoteHost {
public:
    NoteHost();
    virtual ~NoteHost();
    NoteHost(const NoteHost&) = delete;
    NoteHost& operator=(const NoteHost&) = delete;

    // True while the user is picking a window for a new note: every tracking tick
    // of every note does nothing meanwhile.
    virtual bool SelectingCaptureWindow() const = 0;
    // (Re)starts the delayed store save: the editor's change notification.
    virtual void SetSaveChangePending() = 0;
    // The note's Save button: the export dialog.
    virtual void ExportJotlets() = 0;
    // The note's Import button: choose an archive, then the import dialog.
    virtual void ImportStickyNote() = 0;

    // The window system the notes' tracking ticks ask; the real one unless the host
    // answers some questions in a cheaper way.
    virtual WindowSystem& TrackingWindows();

    // The hidden window that the host's notes share for their timers, their
    // deferred release and as the owner of a note window without a target. Made
    // when the first note asks; it goes with the host, so the host outlives its notes.
    NoteCompanionWindow& NoteCompanion();

private:
    std::unique_ptr<NoteCompanionWindow> companion_;
};

} // namespace vn
