#include "app/main_form_win.h"

#include <commdlg.h>

#include <optional>
#include <utility>

#include "app/app_texts.h"
#include "app/application_win.h"
#include "app/data_folder_win.h"
#include "app/exception_rule.h"
#include "attach/desktop_look_win.h"
#include "attach/identity_win.h"
#include "attach/title_search_win.h"
#include "attach/window_events_win.h"
#include "attach/window_system_win.h"
#include "note/handle_budget_win.h"
#include "note/note_chrome_win.h"
#include "note/note_companion_win.h"
#include "platform/file_system.h"
#include "platform/guarded.h"
#include "platform/mouse_hook_win.h"

namespace vn {

TFMain* FMain = nullptr;

namespace {
bool IsNoRoomForWindow(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const note::NoRoomForWindow&) {
        return true;
    } catch (...) {
        return false;
    }
}

constexpr wchar_t kMainClass[] = L"TFMain";
// How long the notes' title searches answer from one list of the top-level
// windows: a note may see a new window this much later than its tick.
constexpr std::uint64_t kTitleListMaxAgeMs = 100;
constexpr wchar_t kMainCaption[] = L"FMain";
// The notes' ticks look at the desktop once a round (the first tick of a round
// finds the last look at least this old), read every window's title now and then,
// and count everything as changed every sweep. Where the system does not report
// it (Wine), a window the person is not using that is retitled in the background
// is seen up to the title period later, one hidden or minimised up to the sweep.
constexpr std::uint64_t kDesktopLookMs = 250;
constexpr std::uint64_t kTitleLookMs = 2000;
constexpr std::uint64_t kTrackingSweepMs = 10000;

} // namespace

TFMain::TFMain(Application& application)
    : Application_(application),
      TrayIcon_(kTrayCallbackMessage),
      PopupMenu_(application),
      Budget_(SystemGuiQuota(), SystemGuiObjects),
      Stacking_(kTitleListMaxAgeMs),
      DelayedSave_(SaveTimer, [this] { return StartStoreSave(); }),
      TrackingWindows_(TheWindowSystem(), SystemTitleSearch(kTitleListMaxAgeMs), &Changes_),
      Picking_(*this, application, TheWindowSystem(), GetOwnExeFileName()) {}

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
    CreateExchangeDialogs();
}

void TFMain::FormCreate() {
    FStickyNoteList.clear();
    tilePicturePath_ = AbsolutePath(NoteChrome::kTilePictureFile);
    // The window is hidden from the start, so there is nothing to minimise.

    TrayIcon_.SetIconResource(GetModuleHandleW(nullptr), L"MAINICON");
    if (!TrayIcon_.Icon()) TrayIcon_.SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    TrayIcon_.SetTip(Application_.Title());
    TrayIcon_.SetOnMouse([this](UINT mouseMessage) { TrayIconMouse(mouseMessage); });
    TrayIcon_.SetVisible(true);

    TrayIcon_.SetBalloonTitle(kBalloonTitle);
    ShowBalloon(kBalloonInfo, kStartupBalloonText);

    Changes_.StartWatching([] { return static_cast<std::uint64_t>(GetTickCount64()); }, kTrackingSweepMs,
                           [this](WindowChanges& changes) { LookAtDesktop(changes, Stacking_); }, kDesktopLookMs);
    Changes_.ReadTitlesEvery(kTitleLookMs);
    // Where the system reports other programs' windows (Windows does, Wine only
    // their creation), a note follows a change in the background at its next tick.
    WindowEvents_ = std::make_unique<WindowEvents>(Changes_);

    // The store keeps the records it cannot load and writes them back; only an
    // index file that cannot be read at all fails the load. That is reported to
    // the handler, but start-up goes on: without the hook no note could be added.
    Guarded([this] { LoadNotes(); });
    Guarded([this] { LoadRecycleBin(); });
    // The last run could save only a rescue copy: say where it is.
    Guarded([this] { TellRescueCopy(); });

    MouseHook_ = std::make_unique<MouseHook>([this](UINT message, const MSLLHOOKSTRUCT&) { Picking_.MouseHookEvent(message); });

    OpenDialog_.Title = kOpenDialogTitle;
    OpenDialog_.Filter = kOpenDialogFilter;
    OpenDialog_.DefaultExt = kOpenDialogDefaultExt;
    // OFN_NOCHANGEDIR: the current folder, where the tile picture is read, stays.
    OpenDialog_.Options = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR;

    PopupMenu_.Create();
    RegisterHotkeys();
    Application_.SetMessageFilter([this](MSG& msg) { return AllNotes_ && AllNotes_->PreTranslate(msg); });
}

void TFMain::Destroy() {
    if (!created_ || destroying_) return;
    destroying_ = true;
    FormDestroy();
    TrayIcon_.SetVisible(false);
    DestroyHandle();
}

void TFMain::FormDestroy() {
    // The window that lists the notes goes before them, and no hotkey comes any more.
    Application_.SetMessageFilter({});
    Guarded([this] {
        if (AllNotes_) AllNotes_->Close();
        AllNotes_.reset();
    });
    Hotkeys_.reset();
    SearchTextTimer.Stop();
    AllNotesStateTimer.Stop();
    // Each step runs even when an earlier one failed: a failed save must not leave
    // the hook installed or the notes on screen.
    Guarded([this] { FinalSave(); });
    // No save may follow the final one.
    DelayedSave_.Stop();
    IndexRereadTimer.Stop();
    Writer_.reset();
    shutdownBlock_.Release();
    if (auto done = std::exchange(finalSaveDone_, nullptr)) done();
    FJotlets.DestroyAll();
    FStickyNoteList.clear();
    Guarded([this] { Picking_.Stop(); });
    MouseHook_.reset();
    WindowEvents_.reset();
}

Jotlet& TFMain::AddJotlet(std::unique_ptr<Jotlet> note, std::optional<size_t> position) {
    Jotlet& added = position ? FJotlets.Insert(*position, std::move(note)) : FJotlets.Add(std::move(note));
    // Its search text is read once the program has time for it; All Notes lists it then.
    NoteTextChanged(added);
    return added;
}

void TFMain::JotletRemoved(Jotlet& note) {
    if (stickingNote_ == &note) stickingNote_ = nullptr;
    if (AllNotes_) AllNotes_->NoteRemoved(SearchTexts_.KeyOf(note));
    SearchTexts_.Forget(note);
    Exchange_.NoteRemoved(note);
    SetSaveChangePending();
}

bool TFMain::MouseHookInstalled() const noexcept { return MouseHook_ && MouseHook_->Installed(); }
bool TFMain::WindowEventsInstalled() const noexcept { return WindowEvents_ && WindowEvents_->Installed(); }

NoteCompanionWindow& TFMain::NoteCompanion() {
    if (!NoteCompanion_) {
        auto companion = std::make_unique<NoteCompanionWindow>();
        companion->Create();
        NoteCompanion_ = std::move(companion);
    }
    return *NoteCompanion_;
}

NoteChrome& TFMain::Chrome() {
    // Made with the first note that is measured or drawn, and shared by all of them.
    if (!Chrome_)
        Chrome_ = std::make_unique<NoteChrome>(tilePicturePath_.empty() ? NoteChrome::kTilePictureFile
                                                                         : tilePicturePath_);
    return *Chrome_;
}

std::u16string TFMain::GetLocalDataPath() const { return dataFolder_ ? *dataFolder_ : vn::GetLocalDataPath(); }

void TFMain::ApplicationEventsException(std::exception_ptr error) {
    if (IsNoRoomForWindow(error)) {
        // A tick finds no room twice a second for every waiting note: the person hears
        // of it once a shortage, in a balloon that takes no focus.
        if (Budget_.ShortageToTell()) ShowBalloon(kBalloonWarning, kNoRoomBalloonText);
        return;
    }
    if (!IsAccessDeniedMessage(ExceptionMessage(error))) return;  // everything else is dropped silently
    ShowBalloon(kBalloonError, kAccessDeniedBalloonText);
}

void TFMain::ShowBalloon(DWORD icon, const std::u16string& text) {
    const BalloonIcon kind = icon == kBalloonError     ? BalloonIcon::Error
                             : icon == kBalloonWarning ? BalloonIcon::Warning
                                                       : BalloonIcon::Info;
    Balloons_.Post({kind, text, false});
}

void TFMain::ShowPromptBalloon(const std::u16string& text) { Balloons_.Post({BalloonIcon::Info, text, true}); }

// The title stays the one set at start-up.
void TFMain::PutBalloonOnScreen(const Balloon& balloon) {
    TrayIcon_.SetBalloonIcon(balloon.icon == BalloonIcon::Error     ? kBalloonError
                             : balloon.icon == BalloonIcon::Warning ? kBalloonWarning
                                                                    : kBalloonInfo);
    TrayIcon_.SetBalloonText(balloon.text);
    TrayIcon_.ShowBalloon();
}

// --- Tray --------------------------------------------------------------------------

void TFMain::TrayIconMouse(UINT mouseMessage) {
    // A click on the balloon, or its close button: the next one may show.
    if (mouseMessage == NIN_BALLOONUSERCLICK) {
        BalloonClicked();
        return;
    }
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        AllNotes1Click();
        return;
    }
    if (mouseMessage != WM_RBUTTONUP) return;
    if (std::optional<TrayCommand> command = PopupMenu_.Popup()) MenuCommand(*command);
}

void TFMain::MenuCommand(TrayCommand command) {
    switch (command) {
    case TrayCommand::AddaStickyNote1: AddaStickyNote1Click(); break;
    case TrayCommand::ExportaStickyNote1: ExportaStickyNote1Click(); break;
    case TrayCommand::InportaStickyNote1: InportaStickyNote1Click(); break;
    case TrayCommand::AllNotes1: AllNotes1Click(); break;
    case TrayCommand::Quit1: Quit1Click(); break;
    }
}

void TFMain::AddaStickyNote1Click() { SelectWindowToAddStickyNote(true, u""); }
void TFMain::ExportaStickyNote1Click() { ExportJotlets(); }
void TFMain::InportaStickyNote1Click() { ImportStickyNote(); }

// --- Timers ------------------------------------------------------------------------

bool TFMain::TimerEnabled(ControllerTimer timer) const {
    switch (timer) {
    case ControllerTimer::CaptureWindowTimer: return Picking_.CaptureTimerEnabled();
    case ControllerTimer::CheckForegroundWindowTimer: return Picking_.CheckForegroundTimerEnabled();
    case ControllerTimer::SaveTimer: return SaveTimer.Enabled();
    case ControllerTimer::BalloonTimer: return BalloonTimer.Enabled();
    case ControllerTimer::IndexRereadTimer: return IndexRereadTimer.Enabled();
    case ControllerTimer::SearchTextTimer: return SearchTextTimer.Enabled();
    case ControllerTimer::AllNotesStateTimer: return AllNotesStateTimer.Enabled();
    }
    return false;
}

void TFMain::SetSaveChangePending() {
    if (destroying_) return;  // the shutdown saves anyway
    ++changes_;
    DelayedSave_.SetSaveChangePending();
}

void TFMain::SaveTimerTimer() { TellSaveNotice(DelayedSave_.SaveTimerTimer()); }

// --- Messages ----------------------------------------------------------------------

LRESULT TFMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        switch (static_cast<ControllerTimer>(wParam)) {
        case ControllerTimer::CaptureWindowTimer: CaptureWindowTimerTimer(); return 0;
        case ControllerTimer::CheckForegroundWindowTimer: Picking_.CheckForegroundWindowTimerTimer(); return 0;
        case ControllerTimer::SaveTimer: SaveTimerTimer(); return 0;
        case ControllerTimer::BalloonTimer: Balloons_.TimerTimer(); return 0;
        case ControllerTimer::IndexRereadTimer: IndexRereadTimerTimer(); return 0;
        case ControllerTimer::SearchTextTimer: ReadSearchTexts(); return 0;
        case ControllerTimer::AllNotesStateTimer:
            if (AllNotes_ && AllNotes_->IsOpen())
                AllNotes_->RefreshStates([this](uint64_t key) {
                    const Jotlet* note = SearchTexts_.NoteOf(key);
                    return note ? StateOf(*note) : NoteState::Waiting;
                });
            else
                AllNotesStateTimer.Stop();
            return 0;
        }
        break;
    case kWriterDoneMessage:
        Writer().RunFinished();
        return 0;
    case WM_HOTKEY:
        HotkeyPressed(static_cast<HotkeyId>(wParam));
        return 0;
    case WM_CLOSE:
        // Closing the main window from outside (the installer, a task manager) ends
        // the program normally, but nobody is there to answer a question: the
        // shutdown saves, or writes the rescue copy.
        Application_.Terminate();
        return 0;
    case WM_QUERYENDSESSION:
        QueryEndSession();
        return TRUE;
    case WM_ENDSESSION:
        // The session ends and the process is ended without returning to the
        // message loop: the shutdown (and its save) has to run now.
        if (wParam)
            Destroy();
        else
            shutdownBlock_.Release();
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
