#include "app/exchange_session_win.h"

#include <algorithm>
#include <utility>

#include "attach/window_system_win.h"
#include "note/jotlet.h"
#include "platform/scope_exit.h"

namespace vn {

ExchangeSession::ExchangeSession(std::function<const std::vector<Jotlet*>&()> notes) : notes_(std::move(notes)) {}

void ExchangeSession::CreateDialogs(ExportDialogActions exportActions, ImportDialogActions importActions) {
    export_ = std::make_unique<TDlgExport>(std::move(exportActions));
    import_ = std::make_unique<TDlgImport>(std::move(importActions));
    for (ModalDialog* dialog : {static_cast<ModalDialog*>(export_.get()), static_cast<ModalDialog*>(import_.get())}) {
        // The notes are enabled again before a closing dialog hides, and the activation
        // is handed on to a note by the program itself (ActivateNoteBelow).
        dialog->SetClosingAction([this, dialog] {
            EnableNoteWindows(true);
            ActivateNoteBelow(dialog->Handle());
        });
    }
}

ModalDialog& ExchangeSession::DialogOf(Exchange exchange) {
    if (exchange == Exchange::Export) return *export_;
    return *import_;
}

bool ExchangeSession::AlreadyShowing(Exchange wanted) {
    if (showing_ == Exchange::None) return false;
    if (showing_ == Exchange::Import && !import_->Showing() && bringChooserForward_)
        bringChooserForward_();  // the archive is still being chosen
    else
        DialogOf(showing_).BringToFront();
    if (showing_ != wanted) MessageBeep(MB_OK);
    return true;
}

void ExchangeSession::Export() {
    if (AlreadyShowing(Exchange::Export)) return;
    showing_ = Exchange::Export;
    auto done = OnScopeExit([this]() noexcept { showing_ = Exchange::None; });
    DisableListedNotes();
    auto enable = OnScopeExit([this]() noexcept { EnableListedNotes(); });
    export_->Execute();
}

void ExchangeSession::Import(const std::function<std::optional<std::u16string>()>& chooseArchive,
                             std::function<void()> bringChooserForward) {
    if (AlreadyShowing(Exchange::Import)) return;
    showing_ = Exchange::Import;
    bringChooserForward_ = std::move(bringChooserForward);
    auto done = OnScopeExit([this]() noexcept {
        showing_ = Exchange::None;
        bringChooserForward_ = nullptr;
    });
    const std::optional<std::u16string> archive = chooseArchive();
    if (!archive) return;
    DisableListedNotes();
    auto enable = OnScopeExit([this]() noexcept { EnableListedNotes(); });
    import_->OpenJotletsImportFile(*archive);
}

void ExchangeSession::NoteRemoved(const Jotlet& note) {
    if (export_) export_->NoteRemoved(&note);
    // A note made later may get the same address: it must not be taken for this one.
    std::erase(modalNotes_, &note);
}

void ExchangeSession::NoteWindowMade(Jotlet& note) {
    if (std::find(modalNotes_.begin(), modalNotes_.end(), &note) != modalNotes_.end()) note.EnableNoteWindow(false);
}

void ExchangeSession::DisableListedNotes() {
    modalNotes_ = notes_();
    EnableNoteWindows(false);
}

void ExchangeSession::EnableListedNotes() {
    EnableNoteWindows(true);
    modalNotes_.clear();
}

// The notes listed when the dialog came up; notes made meanwhile (stuck from the
// import dialog) stay usable.
void ExchangeSession::EnableNoteWindows(bool enabled) {
    for (Jotlet* note : notes_())
        if (std::find(modalNotes_.begin(), modalNotes_.end(), note) != modalNotes_.end()) note->EnableNoteWindow(enabled);
}

// A hiding dialog passes the activation to the first visible, enabled window below
// it. On Windows a note lies above its target, owned by it, and is that window. Wine
// keeps no window of this program above another program's window: the dialog's close
// activates the target (a Notepad picked with Alt+Tab for an import, say), which then
// covers its notes until their tick stacks them above it again, and a click into a
// note meanwhile, with the keys after it, goes to the target. So the note on that
// window is activated here, while the dialog is still the active window.
void ExchangeSession::ActivateNoteBelow(HWND dialog) {
    if (!dialog) return;
    for (HWND below = GetWindow(dialog, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
        if (!IsWindowVisible(below) || !IsWindowEnabled(below)) continue;
        const WindowId window = ToWindowId(below);
        for (Jotlet* note : notes_()) {
            if (!note->NoteWindowVisible() || !note->NoteWindowEnabled()) continue;
            if (note->NoteWindow() == window || note->TargetWindow() == window) {
                note->ActivateNoteWindow();
                return;
            }
        }
        return;  // not a note's window: the system's choice stands
    }
}

} // namespace vn
