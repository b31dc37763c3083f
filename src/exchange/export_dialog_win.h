#pragma once
// TDlgExport: the export dialog. It lists every note (an owner-data list view whose
// cells are read from the live notes), lets the user tick some, and exports the
// ticked notes into an archive or deletes them. Created once, shown modally again
// for each export.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "exchange/export_rows.h"
#include "platform/file_dialog_win.h"
#include "platform/modal_dialog_win.h"

namespace vn {

class Jotlet;

// What the dialog does to the notes, given by the controller.
struct ExportDialogActions {
    std::function<const std::vector<Jotlet*>&()> jotlets;
    std::function<void(const std::u16string& IndexString)> deleteJotlets;
    // The selection save of the listed positions into the archive FileName; raises on failure.
    std::function<void(const std::u16string& FileName, const std::u16string& IndexString)> saveToFile;
    // The data folder, ending in a backslash: no archive goes into its own folders.
    std::u16string dataFolder;
};

class TDlgExport final : public ModalDialog {
public:
    explicit TDlgExport(ExportDialogActions actions);
    ~TDlgExport() override;

    // Shows the dialog modally (FormShow refreshes the rows); its result is not used.
    void Execute();
    // A listed note's window went: its row becomes empty.
    void NoteRemoved(const Jotlet* note);
    // The index string of the export in progress (set by btnExportClick).
    const std::u16string& SelectedIndexes() const noexcept { return FSelectedIndexes; }

    // For the tests: the rows as the dialog holds them, and its controls.
    const ExportRows& Rows() const noexcept { return rows_; }
    HWND List() const noexcept { return VTJotlets; }
    FileDialog& SaveDialog() noexcept { return SaveDialog_; }

protected:
    void FormShow() override;
    void Command(int id, int code) override;
    LRESULT Notify(NMHDR& header) override;

private:
    static LRESULT CALLBACK HeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self) noexcept;

    void FormCreate();
    void RefreshNoteList();
    void UpdateButtonStates();
    void VTJotletsGetText(NMLVDISPINFOW& info);
    void VTJotletsMouseUp(const NMITEMACTIVATE& click);
    void VTJotletsHeaderMouseUp(UINT button, POINT at);
    LRESULT VTJotletsCustomDraw(NMLVCUSTOMDRAW& draw);
    void btnDeleteClick();
    void btnExportClick();
    void btnCloseClick();

    // The check box of a row or of the header: 13 x 13 in the middle of the check column.
    RECT CheckBoxInRow(int row) const;
    RECT HeaderCheckBox() const;
    void SetHeaderState();
    void RedrawRows();

    ExportDialogActions actions_;
    ExportRows rows_;
    std::u16string FSelectedIndexes;
    FileDialog SaveDialog_;
    std::wstring cellText_;
    HWND Label1 = nullptr;
    HWND VTJotlets = nullptr;
    HWND btnDelete = nullptr;
    HWND btnExport = nullptr;
    HWND btnClose = nullptr;
};

} // namespace vn
