#pragma once
// TFMain, the main controller and the program's composition root: a window the user
// never sees. It owns what lives as long as the program (the tray icon and its menu,
// the note list, the picking session, the save timer, the mouse hook, the notes'
// companion window, the application-wide exception handler) and runs the use cases
// top to bottom, each in one function that calls the rules and acts on what they
// return. Its creation does the program's start-up work and its destruction the
// shutdown work.
//
// The use cases are split by concern:
//   main_form_win.cpp          window, start-up, shutdown, tray, timers, exceptions
//   main_form_store_win.cpp    load the store, save it or a selection, delete notes
//   main_form_save_win.cpp     the delayed save on the writer, its notices, the final
//                              save and its question, the rescue copy, a late index
//   main_form_picking_win.cpp  add a note to a picked window
//   main_form_exchange_win.cpp export and import of notes (the dialogs' modal state
//                              is the exchange session's, exchange_session_win.h)
//   main_form_bin_win.cpp      the recycle bin: delete to it, the undo balloon, restore
//   main_form_allnotes_win.cpp the All Notes window, the notes' search texts, hotkeys
#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/all_notes_window_win.h"
#include "app/balloon_queue.h"
#include "app/bin_rows.h"
#include "app/data_folder_writer.h"
#include "app/delayed_save.h"
#include "app/exchange_session_win.h"
#include "app/hotkeys_win.h"
#include "app/messages_win.h"
#include "app/note_search_texts.h"
#include "app/note_list.h"
#include "app/picking_session_win.h"
#include "app/shutdown_save.h"
#include "app/tray_menu_win.h"
#include "exchange/exchange_folder.h"
#include "attach/stacking_order_win.h"
#include "attach/window_changes.h"
#include "attach/title_search.h"
#include "note/handle_budget.h"
#include "note/note_host.h"
#include "platform/code_page_win.h"
#include "platform/file_dialog_win.h"
#include "platform/file_system.h"
#include "platform/shutdown_block_win.h"
#include "platform/tray_icon_win.h"
#include "platform/window_win.h"
#include "store/bin_commit.h"
#include "store/note_store.h"
#include "store/recycle_bin.h"
#include "store/store_note.h"

namespace vn {

class Application;
class MouseHook;
class WindowEvents;
class TFStickyNote;

class TFMain : public Window, public NoteHost {
public:
    explicit TFMain(Application& application);
    // A controller whose data folder is `dataFolder` (ending in a backslash) instead
    // of the user's: for tests that must not touch the user's notes.
    TFMain(Application& application, std::u16string dataFolder);
    ~TFMain() override;

    // Creates the hidden window and runs the start-up (FormCreate).
    void Create();
    // Runs the shutdown (FormDestroy: final save, notes, timers, hook) and destroys
    // the window; the tray icon leaves. Runs once; later calls do nothing.
    void Destroy();
    // Called once, right after the final save of the shutdown, before the rest of the
    // teardown: a new start may begin as soon as the store is written.
    void SetFinalSaveDone(std::function<void()> done) { finalSaveDone_ = std::move(done); }

    // --- Operations for the rest of the program -----------------------------------
    // The store save: every note, into the store folder, now. Waits for a save in
    // flight first, then for this one; raises when it fails.
    void SaveToFile();
    // Waits until the data folder's writer has written everything handed to it,
    // and acts on the outcomes (a test's "the save is on the disk now").
    void FinishWrites();
    // The selection save: the notes at the positions IndexString lists, packed
    // into the archive FileName.
    void SaveToFile(const std::u16string& FileName, const std::u16string& IndexString);
    // Moves the listed notes to the recycle bin (DeleteNotes).
    void DeleteJotlets(const std::u16string& IndexString);

    // --- The recycle bin (main_form_bin_win.cpp) ---------------------------------------
    // Moves the notes to the recycle bin: the store and the bin are written at once,
    // then the notes close and leave the list. When the bin cannot take them, the
    // notes stay and a balloon says why.
    void DeleteNotes(const std::vector<Jotlet*>& notes);
    // The note's own Delete button: DeleteNotes, then the undo balloon.
    void NoteDeleteClicked(Jotlet& note) override;
    // The notes in the bin, the latest deletion first.
    std::vector<BinRow> RecycleBinRows();
    // Brings the entries' notes back at the end of the list; each finds its window as
    // a stored note does. Ids no longer in the bin are skipped.
    void RestoreFromBin(std::vector<uint64_t> ids);
    // Deletes entries for good (the window asks first).
    void DeleteFromBinForGood(std::vector<uint64_t> ids);
    void EmptyRecycleBin();
    // Restarts the one-shot SaveTimer: the store is written 5 s after the last change.
    void SetSaveChangePending() override;
    // Starts picking the window for a new note: with the tray balloon prompt, or with
    // the information window; ANewInfoString is a record to fill the note from, or empty.
    void SelectWindowToAddStickyNote(bool ABalloonHintMessage, const std::u16string& ANewInfoString);
    void ExportJotlets() override;
    void ImportStickyNote() override;
    // The data folder, ending in a backslash.
    std::u16string GetLocalDataPath() const;

    bool SelectingCaptureWindow() const noexcept override { return Picking_.SelectingCaptureWindow(); }
    // The notes' ticks: the real window system with one shared title search.
    WindowSystem& TrackingWindows() override { return TrackingWindows_; }
    NoteCompanionWindow& NoteCompanion() override;
    NoteChrome& Chrome() override;
    note::HandleBudget& Budget() override { return Budget_; }
    StackingOrder& Stacking() override { return Stacking_; }
    WindowChanges& Changes() override { return Changes_; }
    void NoteWindowMade(Jotlet& note) override { Exchange_.NoteWindowMade(note); }
    const std::vector<Jotlet*>& Jotlets() const noexcept { return FJotlets.items(); }
    const std::vector<std::u16string>& StickyNoteList() const noexcept { return FStickyNoteList; }
    const std::u16string& NewStickyNoteInfoString() const noexcept { return Picking_.NewStickyNoteInfoString(); }
    // The information window of picking while it is shown; null otherwise.
    const InformationWindow* SelectWindowInfo() const noexcept { return Picking_.SelectWindowInfo(); }

    // Appends a note to FJotlets (or puts it at `position`), which owns it, and
    // registers for its removal notice.
    Jotlet& AddJotlet(std::unique_ptr<Jotlet> note, std::optional<size_t> position = std::nullopt);

    // --- All Notes (main_form_allnotes_win.cpp) ---------------------------------------
    // Opens the All Notes window, or brings it forward, with the search box ready.
    void OpenAllNotes();
    // Picks a window as "Add a Note" does and moves the note onto it.
    void StickToWindow(Jotlet& note);
    // The hotkey's note: on the window in front, if a pick could take it.
    void AddNoteToForegroundWindow();
    void NoteTextChanged(Jotlet& note) override;
    AllNotesWindow* AllNotes() noexcept { return AllNotes_.get(); }
    NoteSearchTexts& SearchTexts() noexcept { return SearchTexts_; }

    // Every exception that reaches the application comes here.
    void ApplicationEventsException(std::exception_ptr error);

    TrayIcon& Tray() noexcept { return TrayIcon_; }
    FileDialog& OpenDialog() noexcept { return OpenDialog_; }
    bool TimerEnabled(ControllerTimer timer) const;
    bool MouseHookInstalled() const noexcept;
    bool WindowEventsInstalled() const noexcept;
    TDlgExport* ExportDialog() noexcept { return Exchange_.ExportDialog(); }
    TDlgImport* ImportDialog() noexcept { return Exchange_.ImportDialog(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormDestroy();

    void TrayIconMouse(UINT mouseMessage);
    void MenuCommand(TrayCommand command);
    void AddaStickyNote1Click();
    void ExportaStickyNote1Click();
    void InportaStickyNote1Click();
    void Quit1Click();
    void AllNotes1Click();

    void CaptureWindowTimerTimer();
    void SaveTimerTimer();
    // The save path (main_form_save_win.cpp).
    DataFolderWriter& Writer();
    bool StartStoreSave();
    void StoreSaveFinished(const SaveOutcome& outcome, std::uint64_t changes, std::optional<LoadedStore> late);
    void TellSaveNotice(const std::optional<SaveNotice>& notice);
    SaveOutcome SaveAndWait();
    void FinalSave();
    void WriteRescueCopy();
    void TellRescueCopy();
    void IndexUnreadAtStart();
    void IndexRereadTimerTimer();
    void MakeLateNotes(const LoadedStore& late);
    void QueryEndSession();
    // Makes notes of stored records and lists them; returns the records refused.
    std::vector<const StoredRecord*> MakeStoredNotes(const std::vector<StoredRecord>& records);
    // Balloons go through the queue (app/balloon_queue.h): a notice waits for the one
    // on screen; a prompt, which asks the person to act now, shows at once.
    void ShowBalloon(DWORD icon, const std::u16string& text);
    void ShowPromptBalloon(const std::u16string& text);
    void PutBalloonOnScreen(const Balloon& balloon);

    // Starts picking the window for a note that `record` fills (none when it is empty).
    void StartPicking(bool balloonHintMessage, ImportRecord record);
    // A note bound to the picked window, listed and placed at its corner.
    TFStickyNote& AddStickyNoteToWindow(HWND AParentWnd);
    void BringImportDialogToFrontIfShowing();
    // The exchange dialogs, created once after the controller, and the export
    // dialog's selection save.
    void CreateExchangeDialogs();
    void ExportSelection(const std::u16string& FileName, const std::u16string& IndexString);
    void JotletRemoved(Jotlet& note);

    // The All Notes window, the search texts and the hotkeys.
    AllNotesActions AllNotesWindowActions();
    NoteRow RowOf(Jotlet& note);
    NoteState StateOf(const Jotlet& note) const;
    void ReadSearchTexts();
    void RegisterHotkeys();
    void HotkeyPressed(HotkeyId id);

    void LoadNotes();
    NoteStore& Store();
    RecycleBin& Bin();
    BinCommit& Commit();
    // Runs `write` on the data folder's writer after what was posted before it, and waits.
    SaveOutcome OnWriter(const std::function<SaveOutcome()>& write);
    void LoadRecycleBin();
    // The bin's ids of the notes, once the bin took them; nothing when it did not.
    std::optional<std::vector<uint64_t>> MoveNotesToBin(const std::vector<Jotlet*>& notes);
    // A click on the balloon on screen: when it is the undo balloon, its notes come back.
    void BalloonClicked();
    ExchangeFolder& TempExport();
    std::vector<StoreNote*> StoredNotes() const;

    Application& Application_;
    std::optional<std::u16string> dataFolder_;
    TrayIcon TrayIcon_;
    TrayMenu PopupMenu_;
    FileDialog OpenDialog_;
    bool created_ = false;
    bool destroying_ = false;
    std::function<void()> finalSaveDone_;

    // Made before the note list and gone after it: the notes use them until they go.
    std::unique_ptr<NoteCompanionWindow> NoteCompanion_;
    std::unique_ptr<NoteChrome> Chrome_;
    // The tile picture as an absolute path, fixed at start-up: the file dialogs may
    // change the current folder before the first note window is made.
    std::u16string tilePicturePath_;
    note::HandleBudget Budget_;
    StackingOrder Stacking_;
    WindowChanges Changes_;
    // Tells Changes_ what the system reports of other programs' windows; gone before it.
    std::unique_ptr<WindowEvents> WindowEvents_;
    NoteList FJotlets{[this](Jotlet& note) { JotletRemoved(note); }};
    std::vector<std::u16string> FStickyNoteList;

    std::unique_ptr<NoteStore> Store_;
    std::unique_ptr<ExchangeFolder> TempExport_;
    std::unique_ptr<RecycleBin> Bin_;
    std::unique_ptr<BinCommit> BinCommit_;
    // The undo balloon of the last Delete button: its serial in the queue and the
    // notes it brings back.
    struct UndoOffer {
        std::uint64_t serial = 0;
        std::vector<uint64_t> ids;
    };
    std::optional<UndoOffer> undo_;
    // Where each note deleted since the start was in the list: a restore puts it back
    // there, which also leaves the store's files where they were.
    std::map<uint64_t, size_t> binPlaces_;
    bool storeLoaded_ = false;
    // Made after the store and gone before it: its jobs write through the store.
    std::unique_ptr<DataFolderWriter> Writer_;
    // Counts the changes of the notes; a save knows which ones it holds.
    std::uint64_t changes_ = 0;
    std::uint64_t savedChanges_ = 0;
    SaveOutcome lastSave_;
    // The final save of Quit: running (its notices wait), written (with this many
    // changes), or given up (Quit Anyway).
    bool finalSaving_ = false;
    std::optional<std::uint64_t> quitSaved_;
    bool quitUnsaved_ = false;
    bool askingAtQuit_ = false;
    std::optional<SaveNotice> heldNotice_;
    IndexReread indexReread_;
    ShutdownBlock shutdownBlock_;
    WindowTimer SaveTimer{*this, static_cast<UINT_PTR>(ControllerTimer::SaveTimer), kSaveTimerInterval};
    WindowTimer IndexRereadTimer{*this, static_cast<UINT_PTR>(ControllerTimer::IndexRereadTimer), IndexReread::kEvery};
    WindowTimer BalloonTimer{*this, static_cast<UINT_PTR>(ControllerTimer::BalloonTimer), kBalloonTime};
    BalloonQueue Balloons_{BalloonTimer, [this](const Balloon& balloon) { PutBalloonOnScreen(balloon); }};
    DelayedSave DelayedSave_;

    WindowSystemWithTitleSearch TrackingWindows_;

    // FSelectingCaptureWindow and FNewStickyNoteInfoString live in the picker.
    PickingSession Picking_;
    std::unique_ptr<MouseHook> MouseHook_;

    NoteSearchTexts SearchTexts_{SystemCodePage()};
    WindowTimer SearchTextTimer{*this, static_cast<UINT_PTR>(ControllerTimer::SearchTextTimer), std::chrono::milliseconds(10)};
    WindowTimer AllNotesStateTimer{*this, static_cast<UINT_PTR>(ControllerTimer::AllNotesStateTimer), std::chrono::milliseconds(500)};
    std::unique_ptr<AllNotesWindow> AllNotes_;
    // The note that the picking in progress moves onto the picked window; null for a new note.
    Jotlet* stickingNote_ = nullptr;
    std::unique_ptr<Hotkeys> Hotkeys_;

    // The export and import dialogs and their modal state.
    ExchangeSession Exchange_{[this]() -> const std::vector<Jotlet*>& { return FJotlets.items(); }};
};

// The program's one main controller while it exists; null otherwise.
extern TFMain* FMain;

} // namespace vn
