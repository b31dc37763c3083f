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
//   main_form_picking_win.cpp  add a note to a picked window
//   main_form_exchange_win.cpp export and import of notes (the dialogs' modal state
//                              is the exchange session's, exchange_session_win.h)
//   main_form_allnotes_win.cpp the All Notes window, the notes' search texts, hotkeys
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/all_notes_window_win.h"
#include "app/balloon_queue.h"
#include "app/bin_row.h"
#include "app/delayed_save.h"
#include "app/exchange_session_win.h"
#include "app/hotkeys_win.h"
#include "app/messages_win.h"
#include "app/note_search_texts.h"
#include "app/note_list.h"
#include "app/picking_session_win.h"
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
#include "platform/tray_icon_win.h"
#include "platform/window_win.h"
#include "store/note_store.h"
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
    // The store save: every note, into the store folder.
    void SaveToFile();
    // The selection save: the notes at the positions IndexString lists, packed
    // into the archive FileName.
    void SaveToFile(const std::u16string& FileName, const std::u16string& IndexString);
    // Closes the listed notes and takes them out of the list at once; the store
    // follows with the save their removal notices schedule.
    void DeleteJotlets(const std::u16string& IndexString);
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

    // --- All Notes (main_form_allnotes_win.cpp) ---------------------------------------
    // Opens the All Notes window, or brings it forward, with the search box ready.
    void OpenAllNotes();
    // The window's Delete: the notes leave the list and close at once.
    void DeleteNotes(const std::vector<Jotlet*>& notes);
    // The recycle bin as the window lists it, and what its buttons do.
    std::vector<BinRow> RecycleBinRows();
    void RestoreFromBin(std::vector<uint64_t> ids);
    void DeleteFromBinForGood(std::vector<uint64_t> ids);
    void EmptyRecycleBin();
    // Picks a window as "Add a Note" does and moves the note onto it.
    void StickToWindow(Jotlet& note);
    // The hotkey's note: on the window in front, if a pick could take it.
    void AddNoteToForegroundWindow();
    void NoteTextChanged(Jotlet& note) override;
    AllNotesWindow* AllNotes() noexcept { return AllNotes_.get(); }
    NoteSearchTexts& SearchTexts() noexcept { return SearchTexts_; }

    // Appends a note to FJotlets, which owns it, and registers for its removal notice.
    Jotlet& AddJotlet(std::unique_ptr<Jotlet> note);

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
    bool storeLoaded_ = false;
    WindowTimer SaveTimer{*this, static_cast<UINT_PTR>(ControllerTimer::SaveTimer), kSaveTimerInterval};
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
