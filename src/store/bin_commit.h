#pragma once
// A delete to the recycle bin and a restore from it: the store and the bin written
// together, so that a failure, a kill or a power cut at any moment leaves each note
// in exactly one of them, never in neither and never in both.
//
// The store has no note ids and its files keep their format, so the bin carries
// the link. A delete:
//   1. writes the notes' bodies into the bin, flushed (not yet listed);
//   2. saves the store without the notes; just before that store's index takes its
//      name, the bin's index lists the new entries marked "being deleted" with the
//      fingerprint of that store (store_fingerprint.h), written through;
//   3. once the save went through, settles the marks (plain entries) before the next
//      store save.
// A restore marks its entries "being restored" with the fingerprint of the store
// that holds their notes again, just before that store's index takes its name,
// and settles them (the entries leave the bin) before the next store save once
// that save went through.
//
// What the disk can hold, whatever happened: no mark (the operation had not got to
// step 2, or was settled), or a mark whose store is either the one on the disk or
// not. A start (SettleAtStart) compares the store it loads with each mark: the
// same store means that the store save went through. So the note is in exactly one
// place: a delete's entry stays only with the store without the note, a restore's
// entry leaves only with the store that has it.
//
// The comparison holds only while the store on the disk is the one of the mark's
// operation or the one before it. So while the program runs, a mark whose save
// went through is settled before any later store save (Write fails while it cannot
// be); one whose save failed stays, its note back among the live ones, until a
// later store save (which holds that note) went through, and is settled then.
#include <cstdint>
#include <optional>
#include <vector>

#include "store/store_note.h"

#include "store/note_store.h"
#include "store/recycle_bin.h"

namespace vn {

// The notes of `list` but those at `positions`, for the store a delete writes: each
// note that goes leaves its place to the last one, so that the store's body files
// change in two places instead of moving down one place each (bodies are named by
// position; a store of thousands of notes would rename thousands of files). The
// note list itself keeps its order: the next store save writes it.
std::vector<StoreNote*> StoreOrderWithout(std::vector<StoreNote*> list, std::vector<size_t> positions);

class BinCommit {
public:
    BinCommit(NoteStore& store, RecycleBin& bin) : store_(store), bin_(bin) {}

    // At start, once the store and the bin are loaded and before any store save:
    // settles what an interrupted operation left, then removes the entries deleted
    // more than 30 days before `now`. A failure leaves the rest for Write.
    void SettleAtStart(int64_t now);

    // Every other store save: the marks of a delete or restore that went through are
    // settled first. Fails without writing the store while they cannot be.
    SaveOutcome Write(const StoreSnapshot& snapshot);

    // Moves notes (captured as the store would save them) to the bin, with the store
    // without them. Saved: they are in the bin, listed under `ids`. Otherwise they
    // are not; the caller keeps them as notes, and its next store save holds them.
    struct Moved {
        SaveOutcome outcome;
        std::vector<uint64_t> ids;
    };
    Moved MoveToBin(std::vector<CapturedNote> notes, const StoreSnapshot& without, int64_t now);

    // Takes the entries out of the bin, with the store `with` that holds their
    // notes (the caller makes them, and lists them when this saved). Every id
    // must be of an entry in the bin (BinEntry::InBin).
    SaveOutcome Restore(const std::vector<uint64_t>& ids, const StoreSnapshot& with);

private:
    std::optional<SaveOutcome> SettleBeforeStoreSave();
    void SettleAfterStoreSave();
    SaveOutcome WriteMarked(const std::vector<uint64_t>& ids, BinMark mark, const StoreSnapshot& snapshot,
                            bool& marked);
    void Done(const std::vector<uint64_t>& ids);
    void Cancel(const std::vector<uint64_t>& ids);

    NoteStore& store_;
    RecycleBin& bin_;
};

} // namespace vn
