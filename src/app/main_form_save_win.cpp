// The controller's save path. A store save is captured on this thread, where the
// notes live, and written on the data folder's writer (data_folder_writer.h), so the
// notes keep following the mouse and the keyboard while a large store is written
// and flushed. Failed saves are retried and told once per episode (delayed_save.h).
// The final save runs before the message loop ends when the person quits, so that
// a failure can be answered; when nobody can answer, a failure leaves a rescue
// copy of every note instead (shutdown_save.h). An index that could not be read
// at start is read again, and its notes come in beside the ones made meanwhile.
#include "app/main_form_win.h"

#include <algorithm>
#include <utility>

#include "app/application_win.h"
#include "exchange/exchange_folder.h"
#include "note/sticky_note_win.h"
#include "platform/known_folder_win.h"
#include "platform/message_box_win.h"
#include "platform/scope_exit.h"
#include "platform/text_win.h"
#include "store/save_texts.h"
#include "store/store_snapshot.h"

namespace vn {

namespace {
constexpr char16_t kQuitAnywayLabel[] = u"Quit Anyway";
constexpr char16_t kShutdownBlockReason[] = u"Saving your notes";

SaveOutcome Attempt(const std::function<SaveOutcome()>& save) {
    try {
        return save();
    } catch (const std::exception& e) {
        return SaveOutcome::Failed(e);
    }
}
} // namespace

DataFolderWriter& TFMain::Writer() {
    if (!Writer_) {
        HWND window = HasHandle() ? Handle() : nullptr;
        Writer_ = std::make_unique<DataFolderWriter>([window] {
            if (window) PostMessageW(window, kWriterDoneMessage, 0, 0);
        });
    }
    return *Writer_;
}

void TFMain::FinishWrites() { Writer().WaitIdle(); }

// DelayedSave's half on this thread: the capture, then the write handed over.
bool TFMain::StartStoreSave() {
    // A store save writes the note list over the store on disk: before the store
    // was loaded (a start that failed before it got there) that would be an empty
    // list over the user's notes.
    if (!storeLoaded_) throw Error("The store was not loaded, so it is not saved.");
    // While an index that could not be read is still read again every few seconds,
    // saves wait: each would fail for the same reason. The rereads end with a save.
    if (indexReread_.Watching() && !finalSaving_) return false;
    const std::uint64_t changes = changes_;
    std::shared_ptr<const StoreSnapshot> snapshot;
    try {
        snapshot = std::make_shared<const StoreSnapshot>(CaptureStore(StoredNotes()));
    } catch (const std::exception& e) {
        lastSave_ = SaveOutcome::Failed(e);
        throw;
    }
    NoteStore* store = &Store();
    // Through the bin's commit: a delete or restore it has not settled yet comes first.
    BinCommit* commit = &Commit();
    Writer().Post([this, store, commit, snapshot, changes]() -> DataFolderWriter::Then {
        SaveOutcome outcome = commit->Write(*snapshot);
        // A save reads an index that could not be read at start first: its notes
        // are handed out here, once.
        std::optional<LoadedStore> late = store->RetryUnreadIndex();
        return [this, outcome = std::move(outcome), changes, late = std::move(late)] {
            StoreSaveFinished(outcome, changes, late);
        };
    });
    return true;
}

void TFMain::StoreSaveFinished(const SaveOutcome& outcome, std::uint64_t changes, std::optional<LoadedStore> late) {
    lastSave_ = outcome;
    if (outcome.saved) savedChanges_ = changes;
    if (late) MakeLateNotes(*late);
    std::optional<SaveNotice> notice = DelayedSave_.SaveFinished(outcome);
    if (finalSaving_) {
        if (notice) heldNotice_ = notice;
        return;
    }
    TellSaveNotice(notice);
}

void TFMain::TellSaveNotice(const std::optional<SaveNotice>& notice) {
    if (!notice) return;
    if (notice->kind == SaveNotice::Kind::SavedAgain) {
        // News of the failure that has not shown yet is stale now.
        for (SaveFailure reason : {SaveFailure::InUse, SaveFailure::DiskFull, SaveFailure::ReadOnly,
                                   SaveFailure::IndexUnreadable, SaveFailure::Other})
            Balloons_.Withdraw(CannotSaveText(reason));
        ShowBalloon(kBalloonInfo, NoticeText(*notice));
        return;
    }
    ShowBalloon(kBalloonWarning, NoticeText(*notice));
}

// A store save now, after the one in flight, waited for. Its notice waits in
// heldNotice_: the caller knows whether anyone is left to read it.
SaveOutcome TFMain::SaveAndWait() {
    if (!storeLoaded_) throw Error("The store was not loaded, so it is not saved.");
    Writer().WaitIdle();
    finalSaving_ = true;
    auto done = OnScopeExit([this] { finalSaving_ = false; });
    lastSave_ = SaveOutcome::Failed(Error("The save did not run."));
    if (std::optional<SaveNotice> notice = DelayedSave_.SaveNow()) heldNotice_ = notice;
    Writer().WaitIdle();
    return lastSave_;
}

// Quit from the tray menu. The final save runs while the message loop still runs:
// when it fails the person is asked, and Cancel goes back to work.
void TFMain::Quit1Click() {
    if (askingAtQuit_) return; // the question is on screen already
    if (!storeLoaded_) {
        Application_.Terminate();
        return;
    }
    for (;;) {
        const SaveOutcome outcome = Attempt([this] { return SaveAndWait(); });
        FinalStep step = AfterFinalSave(EndedBy::Person, outcome);
        if (step == FinalStep::Ask) {
            askingAtQuit_ = true;
            auto asked = OnScopeExit([this] { askingAtQuit_ = false; });
            const RetryChoice choice =
                ShowRetryChoiceBox(nullptr, Application_.Title(), UnsavedAtQuitText(outcome.reason), kQuitAnywayLabel);
            // Ended meanwhile by the session or the installer: the shutdown saves,
            // or writes the rescue copy.
            if (Application_.Terminated() || destroying_) return;
            step = AfterAnswer(choice == RetryChoice::Retry  ? QuitAnswer::Retry
                               : choice == RetryChoice::GoOn ? QuitAnswer::QuitAnyway
                                                             : QuitAnswer::Cancel);
        }
        switch (step) {
        case FinalStep::SaveAgain: continue;
        case FinalStep::KeepRunning: TellSaveNotice(std::exchange(heldNotice_, std::nullopt)); return;
        case FinalStep::EndUnsaved: quitUnsaved_ = true; break;
        default: quitSaved_ = savedChanges_; break;
        }
        Application_.Terminate();
        return;
    }
}

// The shutdown's save. After Quit it runs only for changes made since Quit saved;
// when the program is ended from outside it is the only one, and a failure leaves
// the rescue copy, since nobody may be asked.
void TFMain::FinalSave() {
    if (!storeLoaded_ || quitUnsaved_) return;
    if (quitSaved_ && *quitSaved_ == changes_) return;
    const SaveOutcome outcome = Attempt([this] { return SaveAndWait(); });
    if (AfterFinalSave(EndedBy::Unattended, outcome) == FinalStep::RescueAndEnd) WriteRescueCopy();
}

void TFMain::WriteRescueCopy() {
    const std::u16string documents = GetDocumentsFolder();
    if (documents.empty() || FJotlets.size() == 0) return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const LocalTime at{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    FileSystem& fs = PlatformFileSystem();
    std::u16string archive;
    for (int attempt = 1; archive.empty() || fs.Exists(archive); ++attempt) archive = documents + RescueCopyName(at, attempt);

    // Staged outside the data folder, which may be what refuses every write.
    wchar_t temp[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH + 1, temp)) return;
    const std::u16string scratch = U16(temp) + u"Vantory Note rescue\\";
    fs.CreateFolders(scratch);
    NoteStore scratchStore(fs, SystemCodePage(), scratch);
    ExchangeFolder staging(scratchStore, fs, SystemCodePage());
    std::vector<size_t> positions;
    for (size_t p = FJotlets.size(); p-- > 0;) positions.push_back(p);
    staging.SaveSelection(archive, positions, StoredNotes());
    fs.DeleteDirectory(staging.Folder());
    // Remembered for the next start; should the data folder refuse this too, the
    // copy is still in Documents, named for the program.
    try {
        fs.WriteFile(GetLocalDataPath() + kRescueNoteFile, Utf8(archive), Durability::Flushed);
    } catch (const std::exception&) {
    }
}

void TFMain::TellRescueCopy() {
    FileSystem& fs = PlatformFileSystem();
    const std::u16string note = GetLocalDataPath() + kRescueNoteFile;
    if (!fs.Exists(note)) return;
    const std::u16string archive = FromUtf8(fs.ReadFile(note));
    fs.RemoveFile(note);
    if (!archive.empty()) ShowBalloon(kBalloonWarning, RescueCopyText(archive));
}

// --- An index that could not be read at start ----------------------------------

void TFMain::IndexUnreadAtStart() {
    indexReread_.Start();
    IndexRereadTimer.Start(IndexReread::kEvery);
}

void TFMain::IndexRereadTimerTimer() {
    IndexRereadTimer.Stop();
    NoteStore* store = &Store();
    Writer().Post([this, store]() -> DataFolderWriter::Then {
        std::optional<LoadedStore> late = store->RetryUnreadIndex();
        return [this, late = std::move(late)] {
            if (late) {
                MakeLateNotes(*late);
            } else if (indexReread_.Watching()) {
                if (indexReread_.TryAgain())
                    IndexRereadTimer.Start(IndexReread::kEvery);
                else
                    // The first minute is over: a save says why it cannot save, and
                    // its retries read the index again.
                    TellSaveNotice(DelayedSave_.SaveNow());
            }
        };
    });
}

// The notes of an index read late come in as if read at start, beside the notes
// made meanwhile.
void TFMain::MakeLateNotes(const LoadedStore& late) {
    indexReread_.Stop();
    IndexRereadTimer.Stop();
    if (FStickyNoteList.empty()) FStickyNoteList = late.lines;
    const std::vector<const StoredRecord*> refused = MakeStoredNotes(late.notes);
    std::vector<StoredRecord> taken;
    for (const StoredRecord& record : late.notes)
        if (std::find(refused.begin(), refused.end(), &record) == refused.end()) taken.push_back(record);
    // Posted before any capture that holds these notes: the writer keeps the order.
    // A refused record stays with the store, which writes it back.
    NoteStore* store = &Store();
    Writer().Post([store, taken = std::move(taken)]() -> DataFolderWriter::Then {
        for (const StoredRecord& record : taken) store->Adopt(record);
        return {};
    });
    SetSaveChangePending();
}

// --- The end of the session ----------------------------------------------------

// Windows asks whether the session may end. It may, always; but while a save is
// due or being written, the reason keeps the process alive until WM_ENDSESSION has
// saved (on Windows; Wine's calls do nothing).
void TFMain::QueryEndSession() {
    if (!storeLoaded_) return;
    if ((Writer_ && Writer_->Busy()) || DelayedSave_.InFlight() || SaveTimer.Enabled())
        shutdownBlock_.Hold(Handle(), kShutdownBlockReason);
}

} // namespace vn
