// The controller's recycle-bin use cases: a delete moves notes to the bin (the
// note's own Delete button, the export dialog's Delete, the All Notes window's),
// the undo balloon and Restore bring them back, and the bin's entries can be
// deleted for good. The store and the bin are written together (store/bin_commit.h);
// each use case is one call of it, on this thread, before the notes change on screen.
#include "app/main_form_win.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "app/app_texts.h"
#include "note/note_time_win.h"
#include "note/sticky_note_win.h"
#include "platform/code_page_win.h"
#include "platform/errors.h"
#include "search/note_text.h"
#include "store/save_texts.h"


namespace vn {

namespace {

int64_t SecondsNowUtc() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A bin entry's deletion time, in local time in the user's format.
std::u16string DeletedLabel(int64_t secondsUtc) {
    // FILETIME counts 100 ns since 1601-01-01 UTC.
    constexpr int64_t kEpochDifference = 11644473600;
    const uint64_t ticks = static_cast<uint64_t>(secondsUtc + kEpochDifference) * 10000000ull;
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME system{}, local{};
    if (!FileTimeToSystemTime(&utc, &system) || !SystemTimeToTzSpecificLocalTime(nullptr, &system, &local)) return {};
    return FormatNoteTime(local);
}

std::u16string ReasonText(const char16_t* start, const SaveOutcome& outcome) {
    return start + std::u16string(SaveFailurePhrase(outcome.reason)) + u".";
}

} // namespace

// The bin and the store are written by the data folder's one writer, in turn with
// the saves posted before: `write` runs there, waited for.
SaveOutcome TFMain::OnWriter(const std::function<SaveOutcome()>& write) {
    SaveOutcome outcome;
    Writer().Post([&]() -> DataFolderWriter::Then {
        try {
            outcome = write();
        } catch (const std::exception& e) {
            outcome = SaveOutcome::Failed(e);
        }
        return {};
    });
    try {
        FinishWrites();
    } catch (...) {
        // Raised by what follows an earlier job: not this one's failure, whose
        // outcome stands; reported as any other error of the program.
        ApplicationEventsException(std::current_exception());
    }
    return outcome;
}

RecycleBin& TFMain::Bin() {
    if (!Bin_) Bin_ = std::make_unique<RecycleBin>(PlatformFileSystem(), GetLocalDataPath());
    return *Bin_;
}

BinCommit& TFMain::Commit() {
    if (!BinCommit_) BinCommit_ = std::make_unique<BinCommit>(Store(), Bin());
    return *BinCommit_;
}

// At start, after the store's load: what an interrupted delete or restore left is
// settled before the first store save, and entries older than 30 days go.
void TFMain::LoadRecycleBin() {
    try {
        Bin().Load();
    } catch (const std::exception&) {
        // An unreadable bin refuses deletes (they then keep their notes).
    }
    Commit().SettleAtStart(SecondsNowUtc());
}

std::optional<std::vector<uint64_t>> TFMain::MoveNotesToBin(const std::vector<Jotlet*>& notes) {
    std::vector<Jotlet*> leaving;
    std::vector<StoreNote*> gone;
    std::vector<size_t> positions;
    for (size_t p = 0; p < FJotlets.size(); ++p) {
        if (std::find(notes.begin(), notes.end(), FJotlets[p]) == notes.end()) continue;
        leaving.push_back(FJotlets[p]);
        gone.push_back(&FJotlets[p]->Stored());
        positions.push_back(p);
    }
    if (leaving.empty()) return std::nullopt;
    const std::vector<StoreNote*> staying = StoreOrderWithout(StoredNotes(), positions);
    BinCommit::Moved moved;
    if (!storeLoaded_) {
        // Writing the store now would write an empty list over the user's notes.
        moved.outcome = SaveOutcome::Failed(Error("The store was not loaded."));
    } else {
        try {
            std::vector<CapturedNote> notes = CaptureStore(gone).notes;
            const StoreSnapshot without = CaptureStore(staying);
            moved.outcome = OnWriter([&] {
                moved = Commit().MoveToBin(std::move(notes), without, SecondsNowUtc());
                return moved.outcome;
            });
        } catch (const std::exception& e) {
            moved.outcome = SaveOutcome::Failed(e);
        }
    }
    if (!moved.outcome.saved) {
        ShowBalloon(kBalloonError, ReasonText(kCannotDeleteText, moved.outcome));
        return std::nullopt;
    }
    for (size_t i = 0; i < moved.ids.size() && i < positions.size(); ++i) binPlaces_[moved.ids[i]] = positions[i];
    BinChanged();
    // Out of the list at once; each note is freed once its own handlers have returned.
    for (Jotlet* note : leaving) {
        auto at = std::find(FJotlets.begin(), FJotlets.end(), note);
        if (at == FJotlets.end()) continue;
        FJotlets.erase(at);
        note->Close();
    }
    return moved.ids;
}

void TFMain::DeleteNotes(const std::vector<Jotlet*>& notes) { MoveNotesToBin(notes); }

void TFMain::NoteDeleteClicked(Jotlet& note) {
    if (std::find(FJotlets.begin(), FJotlets.end(), &note) == FJotlets.end()) {
        note.Close(); // not one of the listed notes: nothing of it is stored
        return;
    }
    std::optional<std::vector<uint64_t>> ids = MoveNotesToBin({&note});
    if (!ids) return;
    // Shown at once: it answers the click. Only while it is the balloon on screen
    // does a click on the balloon bring the note back.
    const uint64_t serial = Balloons_.Post({BalloonIcon::Info, kNoteDeletedBalloonText, true});
    undo_ = UndoOffer{serial, std::move(*ids)};
}

void TFMain::BalloonClicked() {
    const std::optional<Balloon> clicked = Balloons_.Dismissed();
    if (!clicked || !undo_ || clicked->serial != undo_->serial) return;
    std::vector<uint64_t> ids = std::move(undo_->ids);
    undo_.reset();
    RestoreFromBin(std::move(ids));
}

std::vector<BinRow> TFMain::RecycleBinRows() {
    // The writer settles the bin's entries as saves go through: read them between its jobs.
    try {
        FinishWrites();
    } catch (...) {
        ApplicationEventsException(std::current_exception());
    }
    std::vector<BinRow> rows;
    RecycleBin& bin = Bin();
    for (const BinEntry& entry : bin.Entries()) {
        if (!entry.InBin()) continue;
        const CapturedNote& note = entry.note;
        BinRow row{note.exeName + u" - " + note.caption, note.ownerLabel, note.timeLabel, {},
                   DeletedLabel(entry.deletedAt), entry.id};
        try {
            row.text = NoteTextFromBody(*bin.Body(entry.id), SystemCodePage());
        } catch (const std::exception&) {
            // A body that cannot be read now shows no text; it is read again next time.
        }
        rows.push_back(std::move(row));
    }
    // The latest deletion first.
    std::stable_sort(rows.begin(), rows.end(), [&](const BinRow& a, const BinRow& b) { return a.id > b.id; });
    return rows;
}

// Each note comes back unbound: it finds its window as a stored note does at start,
// and waits for it otherwise. A note deleted since the start goes back to its place
// in the list, the others to the end.
void TFMain::RestoreFromBin(std::vector<uint64_t> ids) {
    if (!storeLoaded_) return;
    RecycleBin& bin = Bin();
    std::vector<std::unique_ptr<TFStickyNote>> made;
    std::vector<uint64_t> taken;
    auto place = [&](uint64_t id) {
        auto it = binPlaces_.find(id);
        return it == binPlaces_.end() ? SIZE_MAX : it->second;
    };
    std::stable_sort(ids.begin(), ids.end(), [&](uint64_t a, uint64_t b) { return place(a) < place(b); });
    for (uint64_t id : ids) {
        const BinEntry* entry = bin.Find(id);
        if (!entry || !entry->InBin()) continue;
        try {
            const CapturedNote& note = entry->note;
            StoredRecord record{note.exeName, note.caption, note.ownerLabel, note.timeLabel,
                                BodyFile::Read(*bin.Body(id), SystemCodePage()), note.checkStates, 0};
            auto restored = std::make_unique<TFStickyNote>(*this, record.exeName, record.caption);
            FillStickyNote(restored->Stored(), record);
            made.push_back(std::move(restored));
            taken.push_back(id);
        } catch (const std::exception&) {
            // Its body cannot be read or taken: it stays in the bin.
        }
    }
    if (made.empty()) return;
    // The list as it will be: from the lowest place up, each at its place.
    std::vector<std::optional<size_t>> at(made.size());
    std::vector<StoreNote*> notes = StoredNotes();
    for (size_t i = 0; i < made.size(); ++i) {
        if (place(taken[i]) < notes.size()) at[i] = place(taken[i]);
        notes.insert(at[i] ? notes.begin() + static_cast<std::ptrdiff_t>(*at[i]) : notes.end(), &made[i]->Stored());
    }
    SaveOutcome outcome;
    try {
        const StoreSnapshot with = CaptureStore(notes);
        outcome = OnWriter([&] { return Commit().Restore(taken, with); });
    } catch (const std::exception& e) {
        outcome = SaveOutcome::Failed(e);
    }
    if (!outcome.saved) {
        ShowBalloon(kBalloonError, ReasonText(kCannotRestoreText, outcome));
        return;
    }
    for (size_t i = 0; i < made.size(); ++i) {
        binPlaces_.erase(taken[i]);
        AddJotlet(std::move(made[i]), at[i]);
    }
    BinChanged();
}

void TFMain::DeleteFromBinForGood(std::vector<uint64_t> ids) {
    const SaveOutcome outcome = OnWriter([&] {
        Bin().Remove(ids);
        return SaveOutcome::Saved(SavePath::Swapped);
    });
    if (!outcome.saved) ShowBalloon(kBalloonError, ReasonText(kCannotPurgeText, outcome));
    BinChanged();
}

void TFMain::EmptyRecycleBin() {
    std::vector<uint64_t> ids;
    for (const BinEntry& entry : Bin().Entries())
        if (entry.InBin()) ids.push_back(entry.id);
    DeleteFromBinForGood(std::move(ids));
}

} // namespace vn
