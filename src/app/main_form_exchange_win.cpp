// The use cases of the exchange: "Export Notes" and "Import Notes" from the tray
// menu (also the note's Save and Import buttons). The export and import dialogs
// are created once after the controller and shown modally; they exclude each other.
#include "app/main_form_win.h"

#include <algorithm>
#include <utility>

#include "app/application_win.h"
#include "exchange/export_target.h"
#include "exchange/zip_archive.h"
#include "platform/code_page_win.h"
#include "platform/file_system.h"
#include "store/index_file.h"
#include "store/store_names.h"
#include "note/sticky_note_win.h"

namespace vn {

namespace {
// The copy of an archive chosen inside the data folder's own folders, read after the
// reset of Temp Export.
constexpr char16_t kImportCopyName[] = u"Import.vnx";
} // namespace

void TFMain::CreateExchangeDialogs() {
    DlgExport = std::make_unique<TDlgExport>(ExportDialogActions{
        [this]() -> const std::vector<Jotlet*>& { return FJotlets.items(); },
        [this](const std::u16string& IndexString) { DeleteJotlets(IndexString); },
        [this](const std::u16string& FileName, const std::u16string& IndexString) {
            ExportSelection(FileName, IndexString);
        },
        GetLocalDataPath()});
    DlgImport = std::make_unique<TDlgImport>(ImportDialogActions{
        [this](const std::u16string& archive) { return UnpackImportArchive(archive); },
        [this](const std::u16string& valuePart) { SelectWindowToAddStickyNote(false, valuePart); }});
    // The notes are enabled again before a closing dialog hides, and the activation is
    // handed on to a note by the program itself (ActivateNoteBelow).
    DlgExport->SetClosingAction([this] {
        EnableNoteWindows(true);
        ActivateNoteBelow(DlgExport->Handle());
    });
    DlgImport->SetClosingAction([this] {
        EnableNoteWindows(true);
        ActivateNoteBelow(DlgImport->Handle());
    });
    // A listed note whose window is made again while a dialog is modal (it found its
    // target again) is disabled like the others.
    DlgExport->SetIdleAction([this] { EnableNoteWindows(false); });
    DlgImport->SetIdleAction([this] { EnableNoteWindows(false); });
}

void TFMain::ExportJotlets() {
    if (importing_) {
        DlgImport->BringToFront();
        MessageBeep(MB_OK);
        return;
    }
    if (exporting_) {
        DlgExport->BringToFront();
        return;
    }
    exporting_ = true;
    modalNotes_ = FJotlets.items();
    EnableNoteWindows(false);
    struct Done {
        TFMain& main;
        ~Done() {
            main.EnableNoteWindows(true);
            main.modalNotes_.clear();
            main.exporting_ = false;
        }
    } done{*this};
    DlgExport->Execute();
}

void TFMain::ImportStickyNote() {
    if (exporting_) {
        DlgExport->BringToFront();
        MessageBeep(MB_OK);
        return;
    }
    if (importing_) {
        DlgImport->BringToFront();
        return;
    }
    importing_ = true;
    struct Done {
        TFMain& main;
        bool disabled = false;
        ~Done() {
            if (disabled) main.EnableNoteWindows(true);
            main.modalNotes_.clear();
            main.importing_ = false;
        }
    } done{*this};
    if (!OpenDialog_.ExecuteOpen(Application_.Handle())) return;
    // Quit while the open dialog was up: the program ends, nothing is unpacked.
    if (Application_.Terminated() || ModalDialog::QuitPending()) return;
    modalNotes_ = FJotlets.items();
    EnableNoteWindows(false);
    done.disabled = true;
    DlgImport->OpenJotletsImportFile(OpenDialog_.FileName);
}

// The selection save into a temporary file next to the chosen one, which replaces
// it only once the archive is complete.
void TFMain::ExportSelection(const std::u16string& FileName, const std::u16string& IndexString) {
    if (Application_.Terminated()) return;
    ReplaceFileAtomically(PlatformFileSystem(), FileName,
                          [&](const std::u16string& partial) { SaveToFile(partial, IndexString); });
}

std::vector<std::u16string> TFMain::UnpackImportArchive(const std::u16string& archive) {
    FileSystem& files = PlatformFileSystem();
    const std::u16string folder = GetLocalDataPath() + std::u16string(kTempExportFolderName);
    std::u16string source = archive;
    std::u16string copy;
    // An archive inside the program's own folders would go with the reset: it is
    // read from a copy made first.
    if (IsDataFolderTarget(archive, GetLocalDataPath())) {
        copy = GetLocalDataPath() + kImportCopyName;
        files.WriteFile(copy, files.ReadFile(archive));
        source = copy;
    }
    struct RemoveCopy {
        FileSystem& files;
        const std::u16string& copy;
        ~RemoveCopy() {
            if (copy.empty()) return;
            try {
                files.RemoveFile(copy);
            } catch (...) {
            }
        }
    } removeCopy{files, copy};
    // The folder reset, then the archive and its index file.
    files.DeleteDirectory(folder);
    files.CreateFolders(folder);
    ExtractZipFile(source, folder);
    return DecodeIndexFile(files.ReadFile(folder + u"\\" + std::u16string(kIndexFileName)), SystemCodePage());
}

// A hiding dialog passes the activation to the first visible, enabled window below
// it. On Windows a note lies above its target, owned by it, and is that window. Wine
// keeps no window of this program above another program's window: the dialog's close
// activates the target (a Notepad picked with Alt+Tab for an import, say), which then
// covers its notes until their tick stacks them above it again, and a click into a
// note meanwhile, with the keys after it, goes to the target. So the note on that
// window is activated here, while the dialog is still the active window.
void TFMain::ActivateNoteBelow(HWND dialog) {
    if (!dialog) return;
    for (HWND below = GetWindow(dialog, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
        if (!IsWindowVisible(below) || !IsWindowEnabled(below)) continue;
        for (Jotlet* jotlet : FJotlets) {
            auto* note = dynamic_cast<TFStickyNote*>(jotlet);
            if (!note || !note->HasHandle() || !IsWindowVisible(note->Handle()) || !IsWindowEnabled(note->Handle()))
                continue;
            if (note->Handle() == below || note->WndParent() == below) {
                SetForegroundWindow(note->Handle());
                return;
            }
        }
        return;  // not a note's window: the system's choice stands
    }
}

// The notes listed when the dialog came up; notes made meanwhile (stuck from the
// import dialog) stay usable.
void TFMain::EnableNoteWindows(bool enabled) {
    for (Jotlet* jotlet : FJotlets) {
        if (std::find(modalNotes_.begin(), modalNotes_.end(), jotlet) == modalNotes_.end()) continue;
        auto* note = dynamic_cast<TFStickyNote*>(jotlet);
        if (note && note->HasHandle() && (IsWindowEnabled(note->Handle()) != FALSE) != enabled)
            EnableWindow(note->Handle(), enabled);
    }
}

} // namespace vn
