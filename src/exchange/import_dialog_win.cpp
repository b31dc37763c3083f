#include "exchange/import_dialog_win.h"

#include "platform/list_view_win.h"
#include "platform/theme_win.h"

namespace vn {

namespace {
constexpr wchar_t kClassName[] = L"TDlgImport";
constexpr char16_t kCaption[] = u"Import Notes";
constexpr char16_t kLabel1[] =
    u"Select a sticky note from the list below and then click on \"Stick to Window\" to associate it with a window:";

enum ControlId : int { kLabel1Id = 100, kJoinId = 101, kListId = 102, kCloseId = IDCANCEL };
enum Column : int { kTitleColumn = 0, kOwnerColumn = 1, kTimeColumn = 2 };
constexpr int kHeaderHeight = 30;
} // namespace

TDlgImport::TDlgImport(ImportDialogActions actions) : actions_(std::move(actions)) { FormCreate(); }

TDlgImport::~TDlgImport() { DestroyHandle(); }

void TDlgImport::FormCreate() {
    CreateDialogWindow(kClassName, kCaption, 873, 468);
    // Made in tab order: Close, Stick to Window, the list.
    btnClose = AddControl(L"BUTTON", u"Close", WS_TABSTOP | BS_PUSHBUTTON, 770, 422, 75, 25, kCloseId);
    btnJoin = AddControl(L"BUTTON", u"Stick to Window", WS_TABSTOP | BS_PUSHBUTTON, 657, 422, 100, 25, kJoinId);
    VTJotlets = AddControl(WC_LISTVIEWW, u"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                           24, 48, 821, 353, kListId, WS_EX_CLIENTEDGE);
    Label1 = AddControl(L"STATIC", kLabel1, SS_LEFT | SS_NOPREFIX, 24, 16, 820, 16, kLabel1Id);

    // Full-row selection; the person may drag the column headers into another order.
    ListView_SetExtendedListViewStyle(VTJotlets, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER);
    ApplyThemeToList(VTJotlets);
    AddListColumns(VTJotlets, {{L"Title", 500}, {L"Owner", 150}, {L"Date && Time Created", 150}});
    SetListHeaderHeight(VTJotlets, kHeaderHeight);
}

void TDlgImport::OpenJotletsImportFile(const std::u16string& AFilePath) {
    // Reset, unpack and read come first: a failure leaves the dialog unshown.
    std::vector<std::u16string> lines = actions_.unpack(AFilePath);
    LoadStikyList_ = std::move(lines);
    rows_ = ImportRowsOf(LoadStikyList_);
    ListView_SetItemCountEx(VTJotlets, static_cast<int>(rows_.size()), 0);
    ShowModal();
}

void TDlgImport::FormShow() {
    ListView_SetItemState(VTJotlets, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    EnableWindow(btnJoin, FALSE);
    InvalidateRect(VTJotlets, nullptr, TRUE);
}

void TDlgImport::Command(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == kJoinId) btnJoinClick();
    if (id == kCloseId) EndModal(ModalResult::Cancel);
}

LRESULT TDlgImport::Notify(NMHDR& header) {
    if (header.hwndFrom != VTJotlets) return 0;
    switch (header.code) {
    case LVN_GETDISPINFOW: VTJotletsGetText(reinterpret_cast<NMLVDISPINFOW&>(header)); return 0;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: VTJotletsChange(); return 0;
    default: return 0;
    }
}

void TDlgImport::VTJotletsChange() { EnableWindow(btnJoin, ListView_GetSelectedCount(VTJotlets) == 1); }

void TDlgImport::VTJotletsGetText(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows_.size()) return;
    const ImportRow& row = rows_[static_cast<size_t>(item.iItem)];
    switch (item.iSubItem) {
    case kTitleColumn: CopyCellText(row.title, item.pszText, item.cchTextMax); break;
    case kOwnerColumn: CopyCellText(row.record.ownerLabel, item.pszText, item.cchTextMax); break;
    case kTimeColumn: CopyCellText(row.record.timeLabel, item.pszText, item.cchTextMax); break;
    default: CopyCellText(u"", item.pszText, item.cchTextMax); break;
    }
}

void TDlgImport::btnJoinClick() {
    int focused = ListView_GetNextItem(VTJotlets, -1, LVNI_FOCUSED);
    if (focused < 0 || static_cast<size_t>(focused) >= rows_.size()) return;
    const ImportRow& row = rows_[static_cast<size_t>(focused)];
    // A record that names no body inside Temp Export could only make an empty note,
    // or read a file from elsewhere: it starts no picking.
    if (!row.canStick) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    actions_.stickToWindow(row.record);
}

} // namespace vn
