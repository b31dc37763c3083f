#pragma once
// How the store sees a note window, and the records it loads.
//
// The note window (TFStickyNote) implements StoreNote; the controller (TFMain)
// hands the note list to NoteStore (note_store.h) for a save, and builds a note
// for each StoredRecord a load returns. Nothing here touches the disk: the store
// reads and writes the files and passes texts and bytes.
//
// All calls come on the user-interface thread. Any of them may raise an
// exception; a save then leaves the previous store on disk.
#include <string>

#include "store/body_file.h"

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

    // Replaces the whole body with a body file (BodyFile says RTF or plain text);
    // raises vn::Error("Failed to Load Stream") when the control takes neither.
    // Like any change of the text, this raises the editor's change notification
    // (which schedules a save).
    virtual void LoadBody(const BodyFile& body) = 0;

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

// A record read from an index file, with its body, ready to fill a note.
struct StoredRecord {
    std::u16string exeName, caption; // the name part's two items
    std::u16string ownerLabel, timeLabel;
    BodyFile body;
    std::u16string checkStates; // empty: nothing pending
    size_t line = 0;            // its line in the index file
};

// FillStickyNote: labels, body, pending check states, then the layout refresh.
// Raises when the note refuses the body; the labels may then have changed.
void FillStickyNote(StoreNote& note, const StoredRecord& record);

} // namespace vn
