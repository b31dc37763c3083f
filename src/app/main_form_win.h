#pragma once
// TFMain, the main controller: a window the user never sees. It owns what lives as
// long as the program: the tray icon with its menu and balloons, the ordered list
// of notes, the controller's three timers, the lifetime of the low-level mouse
// hook and the application-wide exception handler. Its creation does the program's
// start-up work and its destruction the shutdown work.
//
// The work of the operations is split by concern:
//   main_form_win.cpp          window, start-up, shutdown, tray, timers, exceptions
//   main_form_store_win.cpp    saving, loading and deleting notes (store/ does the files)
//   main_form_picking_win.cpp  picking the window that receives a new note (attach/ decides)
//   main_form_exchange_win.cpp export and import of notes
#include <windows.h>

#include <bitset>
#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/information_window_win.h"
#include "app/jotlet.h"
#include "app/messages.h"
#include "attach/title_search.h"
#include "attach/window_picker.h"
#include "note/note_host.h"
#include "platform/code_page_win.h"
#include "platform/file_dialog_win.h"
#include "platform/file_system.h"
#include "platform/tray_icon_win.h"
#include "platform/unique_handle_win.h"
#include "platform/window_win.h"
#include "store/delayed_save.h"
#include "store/note_store.h"
#include "store/store_note.h"

namespace vn {

class Application;
class TFStickyNote;

class TFMain : public Window, public NoteHost, private PickingHost {
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

    bool SelectingCaptureWindow() const noexcept override { return Picker_.SelectingCaptureWindow(); }
    // The notes' ticks: the real window system with one shared title search.
    WindowSystem& TrackingWindows() override { return TrackingWindows_; }
    const std::vector<Jotlet*>& Jotlets() const noexcept { return FJotlets; }
    const std::vector<std::u16string>& StickyNoteList() const noexcept { return FStickyNoteList; }
    const std::u16string& NewStickyNoteInfoString() const noexcept { return Picker_.NewStickyNoteInfoString(); }
    // The information window of picking while it is shown; null otherwise.
    const InformationWindow* SelectWindowInfo() const noexcept { return SelectWindowInfoForm.get(); }

    // Appends a note to FJotlets and registers for its removal notice.
    void AddJotlet(Jotlet& note);

    // Every exception that reaches the application comes here.
    void ApplicationEventsException(std::exception_ptr error);

    TrayIcon& Tray() noexcept { return TrayIcon_; }
    FileDialog& OpenDialog() noexcept { return OpenDialog_; }
    bool TimerEnabled(ControllerTimer timer) const noexcept;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // SaveTimer as the delayed save drives it.
    class SaveTimerControl final : public OneShotTimer {
    public:
        explicit SaveTimerControl(TFMain& main) : main_(main) {}
        void Start(std::chrono::milliseconds interval) override;
        void Stop() override;

    private:
        TFMain& main_;
    };

    // The note just made for a picked window, as the capture finishes it.
    class PickedStickyNote final : public PickedNote {
    public:
        explicit PickedStickyNote(TFMain& main) : main_(main) {}
        void Set(TFStickyNote* note) noexcept { note_ = note; }
        void FillStickyNote(const std::u16string& infoString) override;
        void Show() override;

    private:
        TFMain& main_;
        TFStickyNote* note_ = nullptr;
    };

    void FormCreate();
    void FormDestroy();

    void TrayIconMouse(UINT mouseMessage);
    void PopupMenuPopup();
    void MenuCommand(UINT command);
    void AddaStickyNote1Click();
    void ExportaStickyNote1Click();
    void InportaStickyNote1Click();
    void Quit1Click();

    void TimerTimer(ControllerTimer timer);
    void CaptureWindowTimerTimer();
    void CheckForegroundWindowTimerTimer();
    void SaveTimerTimer();
    // The program's low-level mouse hook calls this for every mouse event, after
    // the next hook.
    void MouseHookEvent(UINT message);

    // PickingHost
    void SetCheckForegroundWindowTimer(bool on) override;
    void SetCaptureWindowTimer(bool on) override;
    void ShowBalloonPrompt(const std::u16string& text) override;
    void ShowSelectWindowInfo(const std::u16string& text) override;
    void CloseSelectWindowInfo() override;
    PickedNote& AddStickyNoteToWindow(WindowId AParentWnd) override;
    void BringImportDialogToFrontIfShowing() override;
    // The import dialog's window while it is showing, else null. The import dialog
    // comes with the exchange; until then it never shows.
    HWND ShowingImportDialog() const noexcept { return nullptr; }

    void LoadNotes();
    void JotletRemoved(Jotlet& note);
    void DestroyJotlets();
    NoteStore& Store();
    std::vector<StoreNote*> StoredNotes() const;

    void SetTimerEnabled(ControllerTimer timer, bool enabled, std::optional<unsigned> interval = std::nullopt);

    Application& Application_;
    std::optional<std::u16string> dataFolder_;
    TrayIcon TrayIcon_;
    UniqueMenu PopupMenu_;
    UniqueIcon MainIcon_;
    FileDialog OpenDialog_;
    std::bitset<4> timersEnabled_;
    bool created_ = false;
    bool destroying_ = false;

    std::vector<Jotlet*> FJotlets;
    std::vector<std::u16string> FStickyNoteList;

    std::unique_ptr<NoteStore> Store_;
    bool storeLoaded_ = false;
    SaveTimerControl SaveTimer_{*this};
    DelayedSave DelayedSave_;

    WindowSystemWithTitleSearch TrackingWindows_;

    // FSelectingCaptureWindow and FNewStickyNoteInfoString live in the picker.
    WindowPicker Picker_;
    PickedStickyNote PickedNote_{*this};
    std::unique_ptr<InformationWindow> SelectWindowInfoForm;
};

// The program's one main controller while it exists; null otherwise.
extern TFMain* FMain;

} // namespace vn
