#include "store/bin_commit.h"

#include <algorithm>
#include <functional>

namespace vn {

std::vector<StoreNote*> StoreOrderWithout(std::vector<StoreNote*> list, std::vector<size_t> positions) {
    std::sort(positions.begin(), positions.end(), std::greater<>());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    // From the highest position down: the last note is never one still to go.
    for (size_t p : positions) {
        if (p >= list.size()) continue;
        list[p] = list.back();
        list.pop_back();
    }
    return list;
}

void BinCommit::SettleAtStart(int64_t now) {
    try {
        if (bin_.HasUndecided()) bin_.DecideByStore(store_.FingerprintOnDisk());
    } catch (const std::exception&) {
        // The store cannot be read yet: decided before the first store save.
    }
    // Decided by the store on the disk, either way: nothing else may settle them.
    for (bool committed : {true, false}) {
        try {
            bin_.Settle(committed);
        } catch (const std::exception&) {
        }
    }
    try {
        bin_.Purge(now);
    } catch (const std::exception&) {
    }
}

std::optional<SaveOutcome> BinCommit::SettleBeforeStoreSave() {
    try {
        if (bin_.HasUndecided()) bin_.DecideByStore(store_.FingerprintOnDisk());
        bin_.Settle(true);
    } catch (const std::exception& e) {
        return SaveOutcome::Failed(e);
    }
    return std::nullopt;
}

void BinCommit::SettleAfterStoreSave() {
    try {
        bin_.Settle(false);
    } catch (const std::exception&) {
        // Tried again after the next store save.
    }
}

// The marked entries' store save went through. Their marks are settled before the
// next store save (which follows within seconds: the notes changed), not now: a
// delete or a restore then waits for no more than its own store save and the mark.
void BinCommit::Done(const std::vector<uint64_t>& ids) {
    bin_.Decide(ids, true);
    SettleAfterStoreSave();
}

// The marked entries' store save failed. The store on the disk is then the one
// before it, or the marked one (complete, but not swapped in): a mark of a store
// that is not the one on the disk may be settled now, since every later store holds
// the live notes; the others wait for a store save that went through.
void BinCommit::Cancel(const std::vector<uint64_t>& ids) {
    bin_.Decide(ids, false);
    try {
        bin_.Settle(false, store_.FingerprintOnDisk());
    } catch (const std::exception&) {
    }
}

SaveOutcome BinCommit::Write(const StoreSnapshot& snapshot) {
    if (auto failed = SettleBeforeStoreSave()) return *failed;
    SaveOutcome outcome = store_.Write(snapshot);
    if (outcome.saved) SettleAfterStoreSave();
    return outcome;
}

// The store save of an operation on the entries `ids`, which are marked just before
// its index takes its name, and what follows from how it went. Whether the marks
// reached the disk is in `marked`.
SaveOutcome BinCommit::WriteMarked(const std::vector<uint64_t>& ids, BinMark mark, const StoreSnapshot& snapshot,
                                   bool& marked) {
    std::optional<uint64_t> fingerprint;
    SaveOutcome outcome = store_.Write(snapshot, [&](uint64_t storeFingerprint) {
        bin_.Mark(ids, mark, storeFingerprint);
        fingerprint = storeFingerprint;
    });
    marked = fingerprint.has_value();
    if (outcome.saved) {
        Done(ids);
    } else if (fingerprint) {
        Cancel(ids);
    }
    return outcome;
}

BinCommit::Moved BinCommit::MoveToBin(std::vector<CapturedNote> notes, const StoreSnapshot& without, int64_t now) {
    if (auto failed = SettleBeforeStoreSave()) return {*failed, {}};
    std::vector<uint64_t> ids;
    try {
        ids = bin_.Stage(std::move(notes), now);
    } catch (const std::exception& e) {
        return {SaveOutcome::Failed(e), {}};
    }
    bool marked = false;
    SaveOutcome outcome = WriteMarked(ids, BinMark::Deleting, without, marked);
    if (outcome.saved) return {outcome, ids};
    if (!marked) {
        try {
            bin_.Unstage(ids);
        } catch (const std::exception&) {
        }
    }
    return {outcome, {}};
}

SaveOutcome BinCommit::Restore(const std::vector<uint64_t>& ids, const StoreSnapshot& with) {
    if (auto failed = SettleBeforeStoreSave()) return *failed;
    bool marked = false;
    return WriteMarked(ids, BinMark::Restoring, with, marked);
}

} // namespace vn
