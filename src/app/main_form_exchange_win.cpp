// The use cases of the exchange: "Export Notes" and "Import Notes" from the tray
// menu (also the note's Save and Import buttons). The export and import dialogs are
// created once after the controller and shown modally by the exchange session; the
// exchange folder (exchange/exchange_folder.h) does the files.
#include "app/main_form_win.h"

#include "app/application_win.h"
#include "platform/code_page_win.h"
#include "platform/file_system.h"

namespace vn {

ExchangeFolder& TFMain::TempExport() {
    if (!TempExport_) TempExport_ = std::make_unique<ExchangeFolder>(Store(), PlatformFileSystem(), SystemCodePage());
    return *TempExport_;
}

void TFMain::CreateExchangeDialogs() {
    Exchange_.CreateDialogs(
        ExportDialogActions{
            [this]() -> const std::vector<Jotlet*>& { return FJotlets.items(); },
            [this](const std::u16string& IndexString) { DeleteJotlets(IndexString); },
            [this](const std::u16string& FileName, const std::u16string& IndexString) {
                ExportSelection(FileName, IndexString);
            },
            GetLocalDataPath()},
        ImportDialogActions{[this](const std::u16string& archive) { return TempExport().Unpack(archive); },
                            [this](const ImportRecord& record) { StartPicking(false, record); }});
}

void TFMain::ExportJotlets() { Exchange_.Export(); }

void TFMain::ImportStickyNote() {
    Exchange_.Import([this]() -> std::optional<std::u16string> {
        if (!OpenDialog_.ExecuteOpen(Application_.Handle())) return std::nullopt;
        // Quit while the open dialog was up: the program ends, nothing is unpacked.
        if (Application_.Terminated() || ModalDialog::QuitPending()) return std::nullopt;
        return OpenDialog_.FileName;
    }, [this] { OpenDialog_.BringToFront(); });
}

void TFMain::ExportSelection(const std::u16string& FileName, const std::u16string& IndexString) {
    if (Application_.Terminated()) return;
    SaveToFile(FileName, IndexString);
}

} // namespace vn
