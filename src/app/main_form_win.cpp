#include "app/main_form_win.h"

#include <commdlg.h>

#include <algorithm>

#include "app/app_texts.h"
#include "app/application_win.h"
#include "app/data_folder_win.h"
#include "app/exception_rule.h"
#include "attach/identity_win.h"
#include "attach/title_search_win.h"
#include "attach/window_system_win.h"
#include "platform/guarded.h"
#include "platform/mouse_hook_win.h"
#include "platform/text_win.h"

namespace vn {

TFMain* FMain = nullptr;

namespace {
constexpr wchar_t kMainClass[] = L"TFMain";
// How long the notes' title searches answer from one list of the top-level
// windows: a note may see a new window this much later than its tick.
constexpr std::uint64_t kTitleListMaxAgeMs = 100;
constexpr wchar_t kMainCaption[] = L"FMain";

unsigned IntervalOf(ControllerTimer timer) {
    switch (timer) {
    case ControllerTimer::CaptureWindowTimer: return kCaptureWindowTimerInterval;
    case ControllerTimer::CheckForegroundWindowTimer: return kCheckForegroundWindowTimerInterval;
    case ControllerTimer::SaveTimer: return kSaveTimerInterval;
    }
    return kSaveTimerInterval;
}

size_t BitOf(ControllerTimer timer) { return static_cast<size_t>(timer); }

HICON LoadMainIcon() {
    // The tray wants the small size; shared icons are freed by the system at exit.
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_DEFAULTCOLOR | LR_SHARED));
    return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}
} // namespace

TFMain::TFMain(Application& application)
    : Application_(application),
      TrayIcon_(kTrayCallbackMessage),
      DelayedSave_(SaveTimer_, [this] { SaveToFile(); }),
      TrackingWindows_(TheWindowSystem(), SystemTitleSearch(kTitleListMaxAgeMs)),
      Picker_(TheWindowSystem(), *this, GetOwnExeFileName()) {}

TFMain::TFMain(Application& application, std::u16string dataFolder) : TFMain(application) {
    dataFolder_ = std::move(dataFolder);
}

TFMain::~TFMain() {
    Destroy();
    SetApplicationExceptionHandler({});
    if (FMain == this) FMain = nullptr;
}

void TFMain::Create() {
    if (created_) return;
    created_ = true;
    FMain = this;
    // The application-wide exception handler belongs to the controller.
    SetApplicationExceptionHandler([this](std::exception_ptr error) { ApplicationEventsException(error); });
    RegisterClass(kMainClass);
    // Owned by the invisible application window and without WS_EX_APPWINDOW: the
    // program gets no taskbar button. Zero-sized and never shown.
    CreateNative(0, kMainClass, kMainCaption, WS_POPUP, 0, 0, 0, 0, Application_.Handle());
    Guarded([this] { FormCreate(); });
}

void TFMain::FormCreate() {
    FStickyNoteList.clear();
    // The window is hidden from the start, so there is nothing to minimise.

    TrayIcon_.SetIcon(LoadMainIcon());
    TrayIcon_.SetTip(Application_.Title());
    TrayIcon_.SetOnMouse([this](UINT mouseMessage) { TrayIconMouse(mouseMessage); });
    TrayIcon_.SetVisible(true);

    TrayIcon_.SetBalloonIcon(kBalloonInfo);
    TrayIcon_.SetBalloonTitle(kBalloonTitle);
    TrayIcon_.SetBalloonText(kStartupBalloonText);
    TrayIcon_.ShowBalloon();

    FJotlets.clear();
    // The store keeps the records it cannot load and writes them back; only an
    // index file that cannot be read at all fails the load. That is reported to
    // the handler, but start-up goes on: without the hook no note could be added.
    Guarded([this] { LoadNotes(); });

    SetMouseHookListener([this](UINT message, const MSLLHOOKSTRUCT&) { MouseHookEvent(message); });
    InstallMouseHook();

    OpenDialog_.Title = kOpenDialogTitle;
    OpenDialog_.Filter = kOpenDialogFilter;
    OpenDialog_.DefaultExt = kOpenDialogDefaultExt;
    OpenDialog_.Options = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;

    PopupMenu_.reset(CreatePopupMenu());
    AppendMenuW(PopupMenu_.get(), MF_STRING, static_cast<UINT_PTR>(TrayCommand::AddaStickyNote1), W(kMenuAddNote));
    AppendMenuW(PopupMenu_.get(), MF_STRING, static_cast<UINT_PTR>(TrayCommand::ExportaStickyNote1),
                W(kMenuExportNotes));
    AppendMenuW(PopupMenu_.get(), MF_STRING, static_cast<UINT_PTR>(TrayCommand::InportaStickyNote1),
                W(kMenuImportNotes));
    AppendMenuW(PopupMenu_.get(), MF_STRING, static_cast<UINT_PTR>(TrayCommand::Quit1), W(kMenuQuit));
}

void TFMain::Destroy() {
    if (!created_ || destroying_) return;
    destroying_ = true;
    FormDestroy();
    TrayIcon_.SetVisible(false);
    DestroyHandle();
}

void TFMain::FormDestroy() {
    // Each step runs even when an earlier one failed: a failed save must not leave
    // the hook installed or the notes on screen.
    Guarded([this] { SaveToFile(); });
    Guarded([this] { DestroyJotlets(); });
    FJotlets.clear();
    FStickyNoteList.clear();
    // No save may follow the final one.
    DelayedSave_.Stop();
    SetTimerEnabled(ControllerTimer::CaptureWindowTimer, false);
    SetTimerEnabled(ControllerTimer::CheckForegroundWindowTimer, false);
    Guarded([this] { CloseSelectWindowInfo(); });
    SetMouseHookListener({});
    RemoveMouseHook();
}

void TFMain::DestroyJotlets() {
    // From the last list position down; the notice is cancelled first so that none
    // of these destructions schedules a save.
    while (!FJotlets.empty()) {
        Jotlet* note = FJotlets.back();
        FJotlets.pop_back();
        note->SetRemovalNotice({});
        Guarded([note] { note->Hide(); });
        Guarded([note] { note->Destroy(); });
    }
}

void TFMain::AddJotlet(Jotlet& note) {
    FJotlets.push_back(&note);
    note.SetRemovalNotice([this](Jotlet& removed) { JotletRemoved(removed); });
}

void TFMain::JotletRemoved(Jotlet& note) {
    if (destroying_) return;
    auto it = std::find(FJotlets.begin(), FJotlets.end(), &note);
    if (it != FJotlets.end()) FJotlets.erase(it);
    // Also for a note that DeleteJotlets already took out of the list: its record
    // leaves the store with this save.
    SetSaveChangePending();
}

std::u16string TFMain::GetLocalDataPath() const { return dataFolder_ ? *dataFolder_ : vn::GetLocalDataPath(); }

void TFMain::ApplicationEventsException(std::exception_ptr error) {
    if (!IsAccessDeniedMessage(ExceptionMessage(error))) return;  // everything else is dropped silently
    TrayIcon_.SetBalloonIcon(kBalloonError);
    TrayIcon_.SetBalloonText(kAccessDeniedBalloonText);
    TrayIcon_.ShowBalloon();
}

// --- Tray --------------------------------------------------------------------------

void TFMain::TrayIconMouse(UINT mouseMessage) {
    if (mouseMessage == WM_RBUTTONUP) PopupMenuPopup();
}

void TFMain::PopupMenuPopup() {
    if (!PopupMenu_) return;
    POINT at{};
    GetCursorPos(&at);
    // A menu of a background program only closes on an outside click when one of
    // its windows is in the foreground.
    SetForegroundWindow(Application_.Handle());
    Application_.ProcessMessages();
    if (Application_.Terminated()) return;
    UINT command = static_cast<UINT>(TrackPopupMenuEx(PopupMenu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                      at.x, at.y, Application_.Handle(), nullptr));
    PostMessageW(Application_.Handle(), WM_NULL, 0, 0);
    if (command) MenuCommand(command);
}

void TFMain::MenuCommand(UINT command) {
    switch (static_cast<TrayCommand>(command)) {
    case TrayCommand::AddaStickyNote1: AddaStickyNote1Click(); break;
    case TrayCommand::ExportaStickyNote1: ExportaStickyNote1Click(); break;
    case TrayCommand::InportaStickyNote1: InportaStickyNote1Click(); break;
    case TrayCommand::Quit1: Quit1Click(); break;
    }
}

void TFMain::AddaStickyNote1Click() { SelectWindowToAddStickyNote(true, u""); }
void TFMain::ExportaStickyNote1Click() { ExportJotlets(); }
void TFMain::InportaStickyNote1Click() { ImportStickyNote(); }

// Closing the main window ends the application; the shutdown runs once the
// message loop has ended.
void TFMain::Quit1Click() { Application_.Terminate(); }

// --- Timers ------------------------------------------------------------------------

bool TFMain::TimerEnabled(ControllerTimer timer) const noexcept { return timersEnabled_.test(BitOf(timer)); }

void TFMain::SetTimerEnabled(ControllerTimer timer, bool enabled, std::optional<unsigned> interval) {
    if (enabled == TimerEnabled(timer)) return;
    if (!HasHandle()) return;
    if (enabled)
        SetTimer(Handle(), static_cast<UINT_PTR>(timer), interval.value_or(IntervalOf(timer)), nullptr);
    else
        KillTimer(Handle(), static_cast<UINT_PTR>(timer));
    timersEnabled_.set(BitOf(timer), enabled);
}

void TFMain::SaveTimerControl::Start(std::chrono::milliseconds interval) {
    main_.SetTimerEnabled(ControllerTimer::SaveTimer, false);
    main_.SetTimerEnabled(ControllerTimer::SaveTimer, true, static_cast<unsigned>(interval.count()));
}

void TFMain::SaveTimerControl::Stop() { main_.SetTimerEnabled(ControllerTimer::SaveTimer, false); }

void TFMain::SetSaveChangePending() {
    if (destroying_) return;  // the shutdown saves anyway
    DelayedSave_.SetSaveChangePending();
}

void TFMain::TimerTimer(ControllerTimer timer) {
    switch (timer) {
    case ControllerTimer::CaptureWindowTimer: CaptureWindowTimerTimer(); break;
    case ControllerTimer::CheckForegroundWindowTimer: CheckForegroundWindowTimerTimer(); break;
    case ControllerTimer::SaveTimer: SaveTimerTimer(); break;
    }
}

void TFMain::SaveTimerTimer() { DelayedSave_.SaveTimerTimer(); }

// --- Messages ----------------------------------------------------------------------

LRESULT TFMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        switch (static_cast<ControllerTimer>(wParam)) {
        case ControllerTimer::CaptureWindowTimer:
        case ControllerTimer::CheckForegroundWindowTimer:
        case ControllerTimer::SaveTimer:
            TimerTimer(static_cast<ControllerTimer>(wParam));
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing the main window, by whatever means, ends the program normally.
        Quit1Click();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The session ends and the process is ended without returning to the
        // message loop: the shutdown (and its save) has to run now.
        if (wParam) Destroy();
        return 0;
    case WM_DESTROY:
        if (!destroying_) {
            destroying_ = true;
            FormDestroy();
            TrayIcon_.SetVisible(false);
        }
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vn
