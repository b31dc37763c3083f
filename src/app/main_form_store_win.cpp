// The controller's side of the note store: saving, loading and deleting notes.
// The store engine (store/) holds the formats, the order of the files and the
// safety of a save; the controller gives it the note list and the notes.
#include "app/main_form_win.h"

#include <utility>

#include "exchange/zip_archive.h"
#include "note/sticky_note_win.h"
#include "platform/errors.h"
#include "store/index_string.h"

namespace vn {

NoteStore& TFMain::Store() {
    if (!Store_) Store_ = std::make_unique<NoteStore>(Files_, CodePage_, GetLocalDataPath());
    return *Store_;
}

void TFMain::SaveToFile(const std::u16string& FileName, const std::u16string& IndexString) {
    // A store save writes the note list over the store on disk: before the store
    // was loaded (a start that failed before it got there) that would be an empty
    // list over the user's notes.
    if (IndexString.empty() && !storeLoaded_) throw Error("The store was not loaded, so it is not saved.");
    std::vector<StoreNote*> notes;
    notes.reserve(FJotlets.size());
    for (Jotlet* note : FJotlets) notes.push_back(&note->Stored());
    Store().SaveToFile(FileName, IndexString, notes,
                       [](const std::u16string& zipFileName, const std::u16string& folder, int compression) {
                           ZipDirectoryContents(zipFileName, folder, compression);
                       });
}

void TFMain::DeleteJotlets(const std::u16string& IndexString) {
    // Each closed note leaves the list at once; its removal notice, when its window
    // has gone, schedules the save that takes it out of the store.
    vn::DeleteJotlets(IndexString, FJotlets, [](Jotlet* note) { note->Close(); });
}

// Creates one unbound note per stored record, lists it and registers for its
// removal notice; each shows itself once its target window is found. Filling the
// notes' editors schedules the save that follows every start with stored notes.
void TFMain::LoadNotes() {
    // From here on saves are safe even when the load fails: the store keeps what it
    // could not read and refuses to replace an index file it could not open.
    storeLoaded_ = true;
    FStickyNoteList = Store().LoadNotes(*this);
}

StoreNote& TFMain::CreateStoredNote(const std::u16string& exeName, const std::u16string& caption) {
    loadingNote_ = new TFStickyNote(*this, exeName, caption);
    return loadingNote_->Stored();
}

void TFMain::AdoptLoadedNote(StoreNote& note) {
    TFStickyNote* loaded = std::exchange(loadingNote_, nullptr);
    if (!loaded || &loaded->Stored() != &note) throw Error("The store adopted a note it did not ask for.");
    AddJotlet(*loaded);
}

void TFMain::DiscardNote(StoreNote& note) {
    TFStickyNote* loaded = std::exchange(loadingNote_, nullptr);
    if (!loaded || &loaded->Stored() != &note) return;
    loaded->SetRemovalNotice({});
    loaded->Destroy();
}

} // namespace vn
