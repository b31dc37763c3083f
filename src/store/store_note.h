#pragma once
// How the store sees a note, and how it asks for new ones.
//
// The note window (TFStickyNote) implements StoreNote; the controller (TFMain)
// implements StoredNoteFactory and hands both to NoteStore (note_store.h), which
// holds every rule of the store format and of saving and loading. Nothing here
// touches the disk: the store reads and writes the files and passes bytes.
//
// All calls come on the user-interface thread. Any of them may raise an
// exception; the store lets it propagate (a save then leaves the previous store
// on disk) or, while loading, sets the record aside so that it is written back
// unchanged by the next save.
#include <string>

namespace vn {

class StoreNote {
public:
    virtual ~StoreNote() = default;

    // Target identity: FWndParentExeName and FWndParentCaption (trimmed).
    virtual std::u16string ExeName() const = 0;
    virtual std::u16string Caption() const = 0;

    // Texts of the labels lOwner and lTime.
    virtual std::u16string OwnerLabel() const = 0;
    virtual std::u16string TimeLabel() const = 0;
    virtual void SetOwnerLabel(const std::u16string& text) = 0;
    virtual void SetTimeLabel(const std::u16string& text) = 0;

    // The body file's content: exactly the bytes the rich-text control streams
    // out for its whole content as RTF.
    virtual std::string SaveBody() = 0;

    // Replaces the whole body with a body file's bytes: RTF, else plain text
    // (byte-order mark, else ANSI); raises vn::Error("Failed to Load Stream")
    // when the control takes neither. Like any change of the text, this raises
    // the editor's change notification (which schedules a save).
    virtual void LoadBody(const std::string& bytes) = 0;

    // The check-state string to store: while states read from a record are still
    // pending (FStartChValue not empty) that pending string, unchanged;
    // otherwise one character per body line from the check boxes. Both rules
    // are CheckStatesToWrite in check_states.h.
    virtual std::u16string CheckStateString() const = 0;

    // Keeps a record's non-empty check-state string pending (FStartChValue);
    // the boxes take it after the note is first shown.
    virtual void SetPendingCheckStates(const std::u16string& states) = 0;

    // Last step of filling a note from a record: FMinimized := false, UpdateLayout.
    virtual void RestoreLayoutAfterFill() = 0;
};

class StoredNoteFactory {
public:
    virtual ~StoredNoteFactory() = default;

    // The stored-note constructor of TFStickyNote: a new note, unbound, waiting
    // for a window with this identity. The note stays alive after the call (it
    // frees itself when closed); the store keeps no ownership of it.
    virtual StoreNote& CreateStoredNote(const std::u16string& exeName, const std::u16string& caption) = 0;

    // The note was filled from its record: append it to FJotlets and register
    // for its removal notice.
    virtual void AdoptLoadedNote(StoreNote& note) = 0;

    // The record could not fill the note: destroy it without any notice; it was
    // never listed. The record itself is kept by the store.
    virtual void DiscardNote(StoreNote& note) = 0;
};

} // namespace vn
