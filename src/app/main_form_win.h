#pragma once
// TFMain, the main controller: a window the user never sees. It owns what lives as
// long as the program: the tray icon with its menu and balloons, the ordered list
// of notes, the controller's three timers, the lifetime of the low-level mouse
// hook and the application-wide exception handler. Its creation does the program's
// start-up work and its destruction the shutdown work.
//
// The work of the operations is split by concern:
//   main_form_win.cpp          window, start-up, shutdown, tray, timers, exceptions
//   main_form_store_win.cpp    saving, loading and deleting notes
//   main_form_picking_win.cpp  picking the window that receives a new note
//   main_form_exchange_win.cpp export and import of notes
#include <windows.h>

#include <bitset>
#include <exception>
#include <string>
#include <vector>

#include "app/jotlet.h"
#include "app/messages.h"
#include "note/note_host.h"
#include "platform/file_dialog_win.h"
#include "platform/tray_icon_win.h"
#include "platform/unique_handle_win.h"
#include "platform/window_win.h"

namespace vn {

class Application;

class TFMain : public Window, public NoteHost {
public:
    explicit TFMain(Application& application);
    ~TFMain() override;

    // Creates the hidden window and runs the start-up (FormCreate).
    void Create();
    // Runs the shutdown (FormDestroy: final save, notes, timers, hook) and destroys
    // the window; the tray icon leaves. Runs once; later calls do nothing.
    void Destroy();

    // --- Operations for the rest of the program -----------------------------------
    // Store save (empty IndexString: every note, into the Information folder) or
    // selection save (the listed note indexes, for an archive).
    void SaveToFile(const std::u16string& FileName, const std::u16string& IndexString);
    void DeleteJotlets(const std::u16string& IndexString);
    // Restarts the one-shot SaveTimer: the store is written 5 s after the last change.
    void SetSaveChangePending() override;
    // Starts picking the window for a new note: with the tray balloon prompt, or with
    // the information window; ANewInfoString is a record to fill the note from, or empty.
    void SelectWindowToAddStickyNote(bool ABalloonHintMessage, const std::u16string& ANewInfoString);
    void ExportJotlets() override;
    void ImportStickyNote() override;
    std::u16string GetLocalDataPath() const;

    bool SelectingCaptureWindow() const noexcept override { return FSelectingCaptureWindow; }
    const std::vector<Jotlet*>& Jotlets() const noexcept { return FJotlets; }
    const std::vector<std::u16string>& StickyNoteList() const noexcept { return FStickyNoteList; }
    const std::u16string& NewStickyNoteInfoString() const noexcept { return FNewStickyNoteInfoString; }

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
    void MouseHookEvent(UINT message);

    void LoadNotes();
    void JotletRemoved(Jotlet& note);
    void DestroyJotlets();
    std::u16string StoreIndexFileName() const;

    void SetTimerEnabled(ControllerTimer timer, bool enabled);
    void RestartTimer(ControllerTimer timer);

    Application& Application_;
    TrayIcon TrayIcon_;
    UniqueMenu PopupMenu_;
    UniqueIcon MainIcon_;
    FileDialog OpenDialog_;
    std::bitset<4> timersEnabled_;
    bool created_ = false;
    bool destroying_ = false;

    std::vector<Jotlet*> FJotlets;
    std::vector<std::u16string> FStickyNoteList;
    bool FSelectingCaptureWindow = false;
    std::u16string FNewStickyNoteInfoString;
};

// The program's one main controller while it exists; null otherwise.
extern TFMain* FMain;

} // namespace vn
