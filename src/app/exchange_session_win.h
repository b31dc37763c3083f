#pragma once
// The controller's exchange session: the export and import dialogs, shown modally
// one at a time, and what their showing does to the notes. The notes listed when a
// dialog comes up have their windows disabled while it is modal (also a window one
// of them makes again meanwhile, as it is made), enabled again before it hides, and the
// activation then goes to the note on the window below the dialog.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exchange/export_dialog_win.h"
#include "exchange/import_dialog_win.h"

namespace vn {

class Jotlet;

class ExchangeSession {
public:
    // `notes`: the controller's note list as it is now.
    explicit ExchangeSession(std::function<const std::vector<Jotlet*>&()> notes);

    // Makes both dialogs: once, after the controller's window.
    void CreateDialogs(ExportDialogActions exportActions, ImportDialogActions importActions);

    // "Export Notes": the export dialog, modal.
    void Export();
    // "Import Notes": `chooseArchive` asks for the archive (nothing: the import ends
    // there); the import dialog unpacks it and shows modally.
    // `bringChooserForward` brings the archive's file dialog to the front while it is
    // up and the import dialog is not yet: a second request comes to it.
    void Import(const std::function<std::optional<std::u16string>()>& chooseArchive,
                std::function<void()> bringChooserForward);

    // A listed note's window went: its export row empties and it is kept disabled no more.
    void NoteRemoved(const Jotlet& note);
    // A note made its window (again, having found its target): a listed one is
    // disabled at once while a dialog is modal.
    void NoteWindowMade(Jotlet& note);

    TDlgExport* ExportDialog() noexcept { return export_.get(); }
    TDlgImport* ImportDialog() noexcept { return import_.get(); }

private:
    enum class Exchange { None, Export, Import };

    ModalDialog& DialogOf(Exchange exchange);
    // True when an exchange is showing already: its dialog comes to the front (with
    // a beep when `wanted` is the other one), and nothing else happens.
    bool AlreadyShowing(Exchange wanted);
    void DisableListedNotes();
    void EnableListedNotes();
    void EnableNoteWindows(bool enabled);
    void ActivateNoteBelow(HWND dialog);

    std::function<const std::vector<Jotlet*>&()> notes_;
    std::unique_ptr<TDlgExport> export_;
    std::unique_ptr<TDlgImport> import_;
    // An exchange counts as showing from its first step (the file dialogs included),
    // so that no second one can reset Temp Export underneath it.
    Exchange showing_ = Exchange::None;
    std::function<void()> bringChooserForward_;
    // The notes whose windows the modal dialog keeps disabled.
    std::vector<Jotlet*> modalNotes_;
};

} // namespace vn
