#pragma once
// TDlgImport: the import dialog. It lists the notes of an unpacked archive (one
// row per line of its index file, in file order) and sticks the chosen one to a
// window that the user picks. Created once, shown modally again for each import.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange/import_rows.h"
#include "platform/modal_dialog_win.h"

namespace vn {

// What the dialog asks of the controller.
struct ImportDialogActions {
    // Resets Temp Export, unpacks the archive into it and returns the lines of its
    // index file; raises when any step fails.
    std::function<std::vector<std::u16string>(const std::u16string& archive)> unpack;
    // Picking the window for a note filled from the chosen row's record.
    std::function<void(const ImportRecord& record)> stickToWindow;
};

class TDlgImport final : public ModalDialog {
public:
    explicit TDlgImport(ImportDialogActions actions);
    ~TDlgImport() override;

    // Reset, unpack, read the index file, then show the dialog modally. Any failure
    // raises before the dialog shows.
    void OpenJotletsImportFile(const std::u16string& AFilePath);

    const std::vector<std::u16string>& LoadStikyList() const noexcept { return LoadStikyList_; }
    const std::vector<ImportRow>& Rows() const noexcept { return rows_; }
    HWND List() const noexcept { return VTJotlets; }

protected:
    void FormShow() override;
    void Command(int id, int code) override;
    LRESULT Notify(NMHDR& header) override;

private:
    void FormCreate();
    void VTJotletsChange();
    void VTJotletsGetText(NMLVDISPINFOW& info);
    void btnJoinClick();

    ImportDialogActions actions_;
    std::vector<std::u16string> LoadStikyList_;
    std::vector<ImportRow> rows_;
    HWND Label1 = nullptr;
    HWND VTJotlets = nullptr;
    HWND btnJoin = nullptr;
    HWND btnClose = nullptr;
};

} // namespace vn
