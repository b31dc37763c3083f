// The controller's side of picking the window that receives a new note. The
// picking logic (attach/window_picker.h) decides; the controller gives it the hook,
// the two timers, the prompts and the note list, and makes and places the note.
#include "app/main_form_win.h"

#include "app/application_win.h"
#include "attach/note_placement.h"
#include "attach/window_system_win.h"
#include "note/sticky_note_win.h"

namespace vn {

namespace {
constexpr char16_t kInformationCaption[] = u"Information";
} // namespace

void TFMain::SelectWindowToAddStickyNote(bool ABalloonHintMessage, const std::u16string& ANewInfoString) {
    Picker_.SelectWindowToAddStickyNote(ABalloonHintMessage, ANewInfoString);
}

// Called for every mouse event on the desktop, after the next hook: outside
// picking only a flag test.
void TFMain::MouseHookEvent(UINT message) { Picker_.MouseHookEvent(message); }

void TFMain::CheckForegroundWindowTimerTimer() { Picker_.CheckForegroundWindowTimerTimer(); }

void TFMain::CaptureWindowTimerTimer() { Picker_.CaptureWindowTimerTimer(); }

void TFMain::SetCheckForegroundWindowTimer(bool on) {
    SetTimerEnabled(ControllerTimer::CheckForegroundWindowTimer, on);
}

void TFMain::SetCaptureWindowTimer(bool on) { SetTimerEnabled(ControllerTimer::CaptureWindowTimer, on); }

void TFMain::ShowBalloonPrompt(const std::u16string& text) {
    TrayIcon_.SetBalloonIcon(kBalloonInfo);
    TrayIcon_.SetBalloonText(text);
    TrayIcon_.ShowBalloon();
}

void TFMain::ShowSelectWindowInfo(const std::u16string& text) {
    CloseSelectWindowInfo();
    // Owned by the invisible application window: no taskbar button of its own.
    SelectWindowInfoForm = std::make_unique<InformationWindow>(Application_.Handle(), kInformationCaption, text);
}

void TFMain::CloseSelectWindowInfo() {
    // The variable is emptied first, then the window is closed and freed.
    std::unique_ptr<InformationWindow> form = std::move(SelectWindowInfoForm);
    form.reset();
}

PickedNote& TFMain::AddStickyNoteToWindow(WindowId AParentWnd) {
    auto* note = new TFStickyNote(*this, ToHwnd(AParentWnd));
    AddJotlet(*note);
    PickedNote_.Set(nullptr);
    // A target that refuses the note (access denied) gets none: the note is
    // discarded there and the exception goes on to the balloon.
    PlaceNoteOnPickedWindow(TheWindowSystem(), AParentWnd, *note);
    PickedNote_.Set(note);
    return PickedNote_;
}

void TFMain::PickedStickyNote::FillStickyNote(const std::u16string& infoString) {
    if (note_) main_.Store().FillStickyNote(note_->Stored(), infoString);
}

void TFMain::PickedStickyNote::Show() {
    if (note_) note_->Show();
}

void TFMain::BringImportDialogToFrontIfShowing() {
    if (HWND dialog = ShowingImportDialog()) SetForegroundWindow(dialog);
}

} // namespace vn
