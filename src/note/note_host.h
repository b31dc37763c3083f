#pragma once
// What a note asks of the program's main controller. The note knows the controller
// only through this interface, so it does not depend on the controller's window.
// (The removal notice is registered on the note itself: Jotlet::SetRemovalNotice.)
namespace vn {

class NoteHost {
public:
    virtual ~NoteHost() = default;

    // True while the user is picking a window for a new note: every tracking tick
    // of every note does nothing meanwhile.
    virtual bool SelectingCaptureWindow() const = 0;
    // (Re)starts the delayed store save: the editor's change notification.
    virtual void SetSaveChangePending() = 0;
    // The note's Save button: the export dialog.
    virtual void ExportJotlets() = 0;
    // The note's Import button: choose an archive, then the import dialog.
    virtual void ImportStickyNote() = 0;
};

} // namespace vn
