#pragma once
// The recycle bin: deleted notes, kept in the folder "Recycle Bin" beside the
// store until they are restored, deleted for good, or 30 days old.
//
// The folder holds an index "Deleted.txt" and one body file "<id>.txt" per entry
// (the RTF the note's editor wrote, as in the store). The index is UTF-8, CR LF
// after every line; its first line is "Vantory Note recycle bin 1", then one line
// per entry:
//
//   id|deleted|mark|fingerprint|exe|caption|owner|time|checks
//
// deleted: seconds since 1970-01-01 UTC; mark: "-" settled, "D" being deleted,
// "R" being restored; fingerprint: 16 hex digits, the store the mark's operation
// writes (store_fingerprint.h); the texts with "%", "|", CR and LF written as
// %25, %7C, %0D, %0A. The store's own files never change for the bin.
//
// Durability is the store's: a body file is written flushed before an index
// names it, the index is written flushed under a temporary name and takes its
// name by a write-through rename, and a body file is deleted only once no index
// on the disk names it. So the bin on the disk is, at every instant, the one of
// the last index that took its name, each entry with its body.
//
// A mark ties an entry to a store save (bin_commit.h): "D" is an entry whose
// note leaves the store with the store that has the fingerprint, "R" one whose
// note goes back into it. Until the bin learns how that save went, the entry's
// outcome is unknown; then it is settled: a "D" that went through, or an "R"
// that did not, stays as a plain entry; the others leave the bin.
//
// Not thread-safe: one writer at a time, as for the store.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "store/store_snapshot.h"

namespace vn {

// The bin's index cannot be read: the bin refuses every change until it can.
class BinUnreadableError : public Error {
public:
    using Error::Error;
};

enum class BinMark { None, Deleting, Restoring };

struct BinEntry {
    uint64_t id = 0;
    int64_t deletedAt = 0; // seconds since 1970-01-01 UTC
    CapturedNote note;     // body: null until read (RecycleBin::Body)
    BinMark mark = BinMark::None;
    uint64_t fingerprint = 0;      // of a mark
    std::optional<bool> committed; // of a mark: whether its store save went through, once known
    bool listed = false;           // an index on the disk names it

    // Whether the note is in the bin as far as anyone may act on it: a settled
    // entry, a delete that went through, a restore that did not.
    bool InBin() const;
};

inline constexpr int64_t kBinRetentionSeconds = 30 * 24 * 60 * 60;

class RecycleBin {
public:
    RecycleBin(FileSystem& fs, const std::u16string& dataFolder);

    const std::u16string& Folder() const { return folder_; }

    // Reads the index (not the bodies). No folder or no index: an empty bin.
    // Deletes body files no index names (left by a delete that never got its
    // entry listed). Raises BinUnreadableError when the index exists but cannot
    // be read; every change raises it then, until a Load succeeds.
    void Load();

    const std::vector<BinEntry>& Entries() const { return entries_; }
    const BinEntry* Find(uint64_t id) const;
    // The entry's body bytes, read on first use. Raises when the file cannot be read.
    BodyBytes Body(uint64_t id);

    // Writes the notes' bodies, flushed, and returns the new entries' ids; the
    // index does not name them yet (Mark does). On a failure nothing is listed.
    std::vector<uint64_t> Stage(std::vector<CapturedNote> notes, int64_t now);
    // Forgets staged entries that never got listed, and deletes their bodies.
    void Unstage(const std::vector<uint64_t>& ids);
    // Marks the entries (staged or listed) and writes the index: from now on the
    // disk holds them with this mark and fingerprint.
    void Mark(const std::vector<uint64_t>& ids, BinMark mark, uint64_t fingerprint);
    // The marked entries' store save went through or not.
    void Decide(const std::vector<uint64_t>& ids, bool committed);
    // Marked entries whose outcome is unknown (read from the disk) are decided by
    // the store a start loads: its fingerprint is the mark's or not.
    void DecideByStore(uint64_t storeFingerprint);
    // Whether some mark's outcome is unknown.
    bool HasUndecided() const;
    // Writes the decided marks of this outcome as settled (see above); the bodies of
    // entries that left go after the index. Nothing when there are none. With
    // `except`, marks of that fingerprint stay as they are.
    void Settle(bool committed, std::optional<uint64_t> except = std::nullopt);

    // Deletes entries in the bin (InBin) for good; others and unknown ids are left.
    void Remove(const std::vector<uint64_t>& ids);
    // Deletes plain entries deleted more than kBinRetentionSeconds before `now`.
    void Purge(int64_t now);

private:
    BinEntry* FindEntry(uint64_t id);
    void CheckReadable() const;
    // Writes the index of the listed ones of `entries`.
    void WriteIndex(const std::vector<BinEntry>& entries);
    // Writes the index of `entries`, which become the bin's; then deletes the bodies
    // of the entries that are no longer among them.
    void Replace(std::vector<BinEntry> entries);
    void DeleteBodies(const std::vector<uint64_t>& ids);
    std::u16string BodyPath(uint64_t id) const;

    FileSystem& fs_;
    std::u16string folder_;
    std::vector<BinEntry> entries_;
    uint64_t nextId_ = 1;
    bool unreadable_ = false;
};

} // namespace vn
