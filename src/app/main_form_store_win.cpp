// The controller's store use cases: load the store, save it, save a selection,
// delete notes. The store engine (store/) holds the formats, the order of the
// files and the safety of a save, the exchange folder (exchange/) the selection
// save; the controller builds and lists the notes.
#include "app/main_form_win.h"

#include <utility>

#include "note/sticky_note_win.h"
#include "platform/errors.h"
#include "store/index_string.h"

namespace vn {

NoteStore& TFMain::Store() {
    if (!Store_) Store_ = std::make_unique<NoteStore>(PlatformFileSystem(), SystemCodePage(), GetLocalDataPath());
    return *Store_;
}

std::vector<StoreNote*> TFMain::StoredNotes() const {
    std::vector<StoreNote*> notes;
    notes.reserve(FJotlets.size());
    for (Jotlet* note : FJotlets) notes.push_back(&note->Stored());
    return notes;
}

// The store save: every listed note into the Information folder, through the
// writer like every other save, waited for.
void TFMain::SaveToFile() {
    const SaveOutcome outcome = SaveAndWait();
    TellSaveNotice(std::exchange(heldNotice_, std::nullopt));
    if (!outcome.saved) throw Error(outcome.detail);
}

// The selection save: the notes at the listed positions, packed into an archive
// that replaces FileName once it is complete.
void TFMain::SaveToFile(const std::u16string& FileName, const std::u16string& IndexString) {
    const std::vector<size_t> positions = IndexSelection(IndexString).PositionsDescending(FJotlets.size());
    TempExport().SaveSelection(FileName, positions, StoredNotes());
}

void TFMain::DeleteJotlets(const std::u16string& IndexString) {
    std::vector<Jotlet*> notes;
    for (size_t p : IndexSelection(IndexString).PositionsDescending(FJotlets.size())) notes.push_back(FJotlets[p]);
    DeleteNotes(notes);
}

// Creates one unbound note per stored record, fills it and lists it; each shows
// itself once its target window is found. A note that refuses its record goes,
// and the store keeps the record. Filling the notes' editors schedules the save
// that follows every start with stored notes.
void TFMain::LoadNotes() {
    // From here on saves are safe even when the load fails: the store keeps what it
    // could not read and refuses to replace an index file it could not open.
    storeLoaded_ = true;
    LoadedStore loaded;
    try {
        loaded = Store().LoadNotes();
    } catch (const IndexUnreadableError&) {
        IndexUnreadAtStart();
        return;
    }
    FStickyNoteList = std::move(loaded.lines);
    // The writer has not started yet: the store may still be called from here.
    for (const StoredRecord* record : MakeStoredNotes(loaded.notes)) Store().SetAside(*record);
}

// Returns the records whose notes refused them.
std::vector<const StoredRecord*> TFMain::MakeStoredNotes(const std::vector<StoredRecord>& records) {
    std::vector<const StoredRecord*> refused;
    for (const StoredRecord& record : records) {
        std::unique_ptr<TFStickyNote> note;
        try {
            note = std::make_unique<TFStickyNote>(*this, record.exeName, record.caption);
            FillStickyNote(note->Stored(), record);
        } catch (const std::exception&) {
            refused.push_back(&record);
            continue;
        }
        AddJotlet(std::move(note));
    }
    return refused;
}

} // namespace vn
