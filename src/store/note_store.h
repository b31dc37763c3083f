#pragma once
// The note store: the "Information" folder of the data folder with its index
// file "Jotlets.txt" and one body file per note. The exchange folder
// (exchange/exchange_folder.h) writes and fills single notes through it.
//
// The controller (TFMain) owns one NoteStore. It calls LoadNotes once and builds
// a note for each record returned, and hands its note list (FJotlets, as
// StoreNote pointers in list order) to the saves. Errors are exceptions and
// propagate to the caller, except that LoadNotes sets aside the records it
// cannot use and carries on (see LoadNotes), and Write reports its failure.
//
// Threads. A store save is a capture on the interface thread (CaptureStore,
// store_snapshot.h: no file is touched) and a write of the snapshot (Write),
// which may run on a worker thread. LoadNotes and SetAside run while the notes
// are made, before the first write. From then on one writer at a time calls
// Write, SaveStore, RetryUnreadIndex, Adopt, SetAside and KeptRecords: they own
// everything the store keeps (what it knows of its folders, the kept records,
// the unread index), and they touch the files only through the FileSystem.
// DataFolder may be read anywhere. The writer writes snapshots in the order
// they were captured, so that a save captured before a deletion never follows
// one captured after it and brings the deleted note back.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/save_outcome.h"
#include "store/staged_bodies.h"
#include "store/store_folders.h"
#include "store/store_note.h"
#include "store/store_snapshot.h"

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
    bool awaitingNote = false;             // read late (RetryUnreadIndex): kept until a note takes it (Adopt)
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
    // exists but cannot be read (IndexUnreadableError); every store save then
    // reads it again first and keeps all its records, or refuses to replace it
    // and fails with the same error.
    LoadedStore LoadNotes();
    // A loaded record that did not become a note: every save writes it back.
    void SetAside(const StoredRecord& record);

    // Whether an index file exists that has not been read yet.
    bool IndexUnread() const { return unreadStore_; }
    // Reads the index that LoadNotes could not read. Once it can be read, and
    // only once, returns its records, as LoadNotes would have: the caller makes
    // notes of them beside the notes made meanwhile. Until Adopt says a note
    // holds one, each stays a kept record that every save writes back (so does
    // a record that SetAside is given). Nothing while it still cannot be read, or
    // when there is nothing left to hand out (a save may have read it first:
    // the records are handed out all the same).
    std::optional<LoadedStore> RetryUnreadIndex();
    // A note holds this record from RetryUnreadIndex now: saves stop writing it
    // as a kept record. Call it before writing a snapshot that holds the note.
    void Adopt(const StoredRecord& record);

    // The store save of a snapshot: every note from the last position down to
    // 0, then the kept records, into "Information".
    //   Swapped: the new store is written into the staging folder and swapped in
    //   once it is complete and on the disk (store_folders.h). Only the bodies
    //   the staging folder lacks are written (staged_bodies.h); the folder left
    //   is the one a full save leaves.
    //   InPlace: when that fails while "Information" is a complete store, the
    //   same store is written into "Information" itself (store_in_place.h).
    // Either way a power cut leaves the previous store or the new one.
    // Never raises a std::exception: a failure is reported with its reason,
    // and the store on disk is the previous one or the new one, whole.
    SaveOutcome Write(const StoreSnapshot& snapshot);
    // The same, calling `beforeCommit` with the fingerprint of the store about to
    // be put on the disk (store_fingerprint.h) just before its index takes its name,
    // every time the save gets there (a swap that fails is followed by a save in
    // place, with a fingerprint of its own). An exception from it abandons that way
    // of saving, as a failing step would: the previous store stays.
    using CommitHook = std::function<void(uint64_t fingerprint)>;
    SaveOutcome Write(const StoreSnapshot& snapshot, const CommitHook& beforeCommit);
    // The fingerprint of the store a start would load now (after finishing an
    // interrupted swap, as a load does); an empty index when there is no store.
    // Raises when the index or a body file it names exists but cannot be read.
    uint64_t FingerprintOnDisk();
    // Capture and write in one, on the calling thread; raises what Write reports.
    void SaveStore(std::span<StoreNote* const> notes);

    // SaveStickyNoteToFile(FileName), the per-note writer: writes the note's body
    // to data folder + FileName and returns its record line with FileName as body
    // file field. (The per-note reader is FillStickyNote in store_note.h.)
    std::u16string SaveStickyNoteToFile(StoreNote& note, const std::u16string& fileName);

    const std::vector<KeptRecord>& KeptRecords() const { return kept_; }

private:
    void RereadKeptBodies();
    SavePath WriteSnapshot(const StoreSnapshot& snapshot, const CommitHook& beforeCommit);
    StorePlan PlanStore(const StoreSnapshot& snapshot) const;
    void SaveThroughStaging(StorePlan& plan, const CommitHook& beforeCommit);
    // Calls the hook, if any, with the fingerprint of `plan` written with these index bytes.
    void BeforeCommit(const CommitHook& hook, const StorePlan& plan, const std::string& indexBytes) const;
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
    std::optional<LoadedStore> unclaimed_;  // read late, not yet handed out by RetryUnreadIndex
    // The index the load read from "Information", while no save has changed it, and
    // no body it names failed to be read: with knownStore_ what FingerprintOnDisk
    // would read again.
    std::optional<std::string> loadedIndex_;
    bool bodyUnreadAtLoad_ = false;
    // The body files of "Information" and of the staging folder, as far as known.
    std::optional<FolderContents> knownStore_, knownStaging_;
};

} // namespace vn
