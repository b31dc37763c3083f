#pragma once
// The note store: the "Information" folder of the data folder with its index
// file "Jotlets.txt" and one body file per note. The exchange folder
// (exchange/exchange_folder.h) writes and fills single notes through it.
//
// The controller (TFMain) owns one NoteStore. It calls LoadNotes once and builds
// a note for each record returned, and hands its note list (FJotlets, as
// StoreNote pointers in list order) to the saves. Errors are exceptions and
// propagate to the caller, except that LoadNotes sets aside the records it
// cannot use and carries on (see LoadNotes).
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/staged_bodies.h"
#include "store/store_folders.h"
#include "store/store_note.h"

namespace vn {

// A record of the store that did not become a note: its name part is not two
// items, its value part names no body file, its body file is missing or
// unreadable, or the note refused the body. Every store save writes it back as
// it was read, its body file renumbered after the notes' files.
struct KeptRecord {
    std::u16string line;
    std::optional<size_t> bodyFieldOffset; // of the body file field in `line`, when it names a
    size_t bodyFieldLength = 0;            // file in the store folder ("Information\...")
    std::optional<std::string> body;       // that file's bytes, when it could be read
    size_t index = 0;                      // its line in the index file: kept records keep their order
    std::optional<std::u16string> unreadSource; // the body file the load could not read, until the next save
};

// What a load found: the records to make notes of, in file order, and every
// line of the index file (FStickyNoteList).
struct LoadedStore {
    std::vector<StoredRecord> notes;
    std::vector<std::u16string> lines;
};

class NoteStore {
public:
    // `dataFolder` is GetLocalDataPath: it ends in a backslash.
    NoteStore(FileSystem& fs, const CodePage& codePage, std::u16string dataFolder);

    const std::u16string& DataFolder() const { return dataFolder_; }

    // LoadNotes: reads the store's index file and returns, in file order, a
    // record with its body for every usable line. With no index file nothing
    // happens and nothing is created. A record that cannot become a note is
    // kept (KeptRecords) and the load goes on; so is one the caller hands to
    // SetAside because its note refused it. Raises only when an index file
    // exists but cannot be read; the next store save then reads it again and
    // keeps all its records, or refuses to replace it.
    LoadedStore LoadNotes();
    // A loaded record that did not become a note: every save writes it back.
    void SetAside(const StoredRecord& record);

    // The store save: every note of `notes` from the last position down to 0,
    // then the kept records, into "Information"; the previous store is
    // replaced only once the new one is complete and on the disk
    // (store_folders.h). Only the bodies the staging folder lacks are written
    // (staged_bodies.h); the folder left is the one a full save leaves.
    void SaveStore(std::span<StoreNote* const> notes);

    // SaveStickyNoteToFile(FileName), the per-note writer: writes the note's body
    // to data folder + FileName and returns its record line with FileName as body
    // file field. (The per-note reader is FillStickyNote in store_note.h.)
    std::u16string SaveStickyNoteToFile(StoreNote& note, const std::u16string& fileName);

    const std::vector<KeptRecord>& KeptRecords() const { return kept_; }

private:
    void RereadKeptBodies();
    void WriteStore(std::span<StoreNote* const> notes);
    std::optional<StoredRecord> LoadRecord(const std::u16string& line, size_t index, const std::u16string& loadFolder,
                                           FolderContents* known);
    void ReadUnloadedStore();

    FileSystem& fs_;
    const CodePage& codePage_;
    std::u16string dataFolder_;
    StoreFolders folders_;
    std::vector<KeptRecord> kept_;
    std::vector<std::optional<KeptRecord>> loaded_; // by line: the record of each note, should it refuse it
    bool unreadStore_ = false;              // an index file existed but could not be read
    // The body files of "Information" and of the staging folder, as far as known.
    std::optional<FolderContents> knownStore_, knownStaging_;
};

} // namespace vn
