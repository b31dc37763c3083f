#include "exchange/export_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "exchange/export_target.h"
#include "note/jotlet.h"
#include "platform/gdi_win.h"
#include "platform/guarded.h"
#include "platform/list_view_win.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"
#include "platform/unique_handle_win.h"
#include "store/store_note.h"

namespace vn {

namespace {
constexpr wchar_t kClassName[] = L"TDlgExport";
constexpr char16_t kCaption[] = u"Export Notes";
constexpr char16_t kLabel1[] = u"Select the notes you wish to export from the list below:";
constexpr char16_t kDeleteQuestion[] = u"Are you sure you want to delete the selected note(s)?";
constexpr char16_t kDeleteQuestionCaption[] = u"Confirm";
constexpr char16_t kDataFolderRefused[] =
    u"Notes cannot be exported into the folder where Vantory Note keeps its own files.\r\n"
    u"Please choose another folder.";
constexpr char16_t kSaveFilter[] = u"Vantory Note Export File (*.vnx)|*.vnx";
constexpr char16_t kSaveDefaultExt[] = u"vnx";
constexpr char16_t kSaveFileName[] = u"Exported Vantory notes";

enum ControlId : int { kLabel1Id = 100, kExportId = 101, kListId = 102, kDeleteId = 103, kCloseId = IDCANCEL };

// List view columns: the check column is the list's main column (0) and is shown
// last; the texts follow in the columns Title, Owner, "Date & Time Created".
enum Column : int { kCheckColumn = 0, kTitleColumn = 1, kOwnerColumn = 2, kTimeColumn = 3 };
constexpr int kHeaderHeight = 30;
constexpr int kCheckBoxSize = 13;
// A click this far beside a box still ticks it, as with check boxes.
constexpr int kCheckBoxSlack = 2;

RECT CenteredBox(const RECT& cell, int dpi) {
    const int size = ScaleForDpi(kCheckBoxSize, dpi);
    const int left = cell.left + (cell.right - cell.left - size) / 2;
    const int top = cell.top + (cell.bottom - cell.top - size) / 2;
    return {left, top, left + size, top + size};
}

void DrawCheckBox(HDC dc, const RECT& box, bool checked) {
    RECT r = box;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
}

std::u16string TitleOf(Jotlet& note) {
    StoreNote& stored = note.Stored();
    return stored.ExeName() + u" - " + stored.Caption();
}
} // namespace

TDlgExport::TDlgExport(ExportDialogActions actions) : actions_(std::move(actions)) { FormCreate(); }

TDlgExport::~TDlgExport() { DestroyHandle(); }

void TDlgExport::FormCreate() {
    CreateDialogWindow(kClassName, kCaption, 873, 468);
    // Made in tab order: Close, Export, the list, Delete.
    btnClose = AddControl(L"BUTTON", u"Close", WS_TABSTOP | BS_PUSHBUTTON, 770, 422, 75, 25, kCloseId);
    btnExport = AddControl(L"BUTTON", u"Export", WS_TABSTOP | BS_PUSHBUTTON, 681, 422, 75, 25, kExportId);
    // No LVS_SHOWSELALWAYS: a clicked row is highlighted only while the list has the focus.
    VTJotlets = AddControl(WC_LISTVIEWW, u"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL, 24, 48, 821,
                           353, kListId, WS_EX_CLIENTEDGE);
    btnDelete = AddControl(L"BUTTON", u"Delete", WS_TABSTOP | BS_PUSHBUTTON, 384, 422, 75, 25, kDeleteId);
    Label1 = AddControl(L"STATIC", kLabel1, SS_LEFT | SS_NOPREFIX, 24, 16, 600, 16, kLabel1Id);

    ListView_SetExtendedListViewStyle(VTJotlets, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    ListView_SetCallbackMask(VTJotlets, LVIS_STATEIMAGEMASK);
    ApplyThemeToList(VTJotlets);
    // A header shows "&" as a mnemonic underline; "&&" is one ampersand.
    AddListColumns(VTJotlets, {{L"", 37}, {L"Title", 480}, {L"Owner", 150}, {L"Date && Time Created", 150}});
    int order[] = {kTitleColumn, kOwnerColumn, kTimeColumn, kCheckColumn};
    ListView_SetColumnOrderArray(VTJotlets, 4, order);
    // No focus rectangle on the rows.
    SendMessageW(VTJotlets, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);

    HWND header = ListView_GetHeader(VTJotlets);
    SetWindowSubclass(header, &HeaderProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetListHeaderHeight(VTJotlets, kHeaderHeight);
    SetHeaderState();

    SaveDialog_.Filter = kSaveFilter;
    SaveDialog_.DefaultExt = kSaveDefaultExt;
    // OFN_NOCHANGEDIR: the program's current folder (where the tile picture is
    // read) stays what it was.
    SaveDialog_.Options = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
}

void TDlgExport::Execute() { ShowModal(); }

void TDlgExport::FormShow() { RefreshNoteList(); }

void TDlgExport::RefreshNoteList() {
    FSelectedIndexes.clear();
    rows_.Refresh(actions_.jotlets());
    ListView_SetItemCountEx(VTJotlets, static_cast<int>(rows_.Count()), 0);
    RedrawRows();
    UpdateButtonStates();
}

void TDlgExport::UpdateButtonStates() {
    const bool any = rows_.AnyChecked();
    EnableWindow(btnExport, any);
    EnableWindow(btnDelete, any);
}

void TDlgExport::NoteRemoved(const Jotlet* note) {
    rows_.NoteRemoved(note);
    if (!Showing()) return;
    RedrawRows();
    UpdateButtonStates();
}

void TDlgExport::RedrawRows() {
    if (rows_.Count() > 0) ListView_RedrawItems(VTJotlets, 0, static_cast<int>(rows_.Count()) - 1);
    InvalidateRect(VTJotlets, nullptr, TRUE);
}

void TDlgExport::SetHeaderState() {
    // The header box's state is also kept in the header item, where other programs
    // (the tests' inspection helper) can read it.
    HDITEMW item{};
    item.mask = HDI_LPARAM;
    item.lParam = rows_.HeaderChecked() ? 1 : 0;
    HWND header = ListView_GetHeader(VTJotlets);
    Header_SetItem(header, kCheckColumn, &item);
    InvalidateRect(header, nullptr, TRUE);
}

void TDlgExport::Command(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case kDeleteId: btnDeleteClick(); break;
    case kExportId: btnExportClick(); break;
    case kCloseId: btnCloseClick(); break;
    default: break;
    }
}

LRESULT TDlgExport::Notify(NMHDR& header) {
    if (header.hwndFrom == VTJotlets) {
        switch (header.code) {
        case LVN_GETDISPINFOW: VTJotletsGetText(reinterpret_cast<NMLVDISPINFOW&>(header)); return 0;
        case NM_CLICK:
        case NM_DBLCLK: VTJotletsMouseUp(reinterpret_cast<NMITEMACTIVATE&>(header)); return 0;
        case LVN_KEYDOWN:
            if (reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_SPACE) {
                int focused = ListView_GetNextItem(VTJotlets, -1, LVNI_FOCUSED);
                if (focused >= 0) {
                    rows_.Toggle(static_cast<size_t>(focused));
                    ListView_RedrawItems(VTJotlets, focused, focused);
                    UpdateButtonStates();
                }
            }
            return 0;
        case NM_CUSTOMDRAW: return VTJotletsCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
        default: return 0;
        }
    }
    if (header.hwndFrom == ListView_GetHeader(VTJotlets)) {
        switch (header.code) {
        // Rows are never sorted and the check column keeps its width.
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA: return reinterpret_cast<NMHEADERW&>(header).iItem == kCheckColumn;
        default: return 0;
        }
    }
    return 0;
}

void TDlgExport::VTJotletsGetText(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    const size_t row = static_cast<size_t>(item.iItem);
    if (item.mask & LVIF_TEXT) {
        std::u16string text;
        if (Jotlet* note = rows_.NoteAt(row)) {
            switch (item.iSubItem) {
            case kTitleColumn: text = TitleOf(*note); break;
            case kOwnerColumn: text = note->Stored().OwnerLabel(); break;
            case kTimeColumn: text = note->Stored().TimeLabel(); break;
            default: break;  // the check column has no text
            }
        }
        CopyCellText(text, item.pszText, item.cchTextMax);
    }
    // The check state, for LVM_GETITEMSTATE of other programs (the inspection
    // helper); the box itself is drawn by the dialog.
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(rows_.Checked(row) ? 2 : 1);
    }
}

RECT TDlgExport::CheckBoxInRow(int row) const {
    RECT cell{};
    ListView_GetSubItemRect(VTJotlets, row, kCheckColumn, LVIR_BOUNDS, &cell);
    // The main column's "bounds" is the whole row: its own cell is where the header
    // shows it.
    RECT column{};
    HWND header = ListView_GetHeader(VTJotlets);
    Header_GetItemRect(header, kCheckColumn, &column);
    MapWindowPoints(header, VTJotlets, reinterpret_cast<POINT*>(&column), 2);
    cell.left = column.left;
    cell.right = column.right;
    return CenteredBox(cell, Dpi());
}

RECT TDlgExport::HeaderCheckBox() const {
    RECT column{};
    Header_GetItemRect(ListView_GetHeader(VTJotlets), kCheckColumn, &column);
    return CenteredBox(column, Dpi());
}

void TDlgExport::VTJotletsMouseUp(const NMITEMACTIVATE& click) {
    if (click.iItem >= 0) {
        RECT box = CheckBoxInRow(click.iItem);
        InflateRect(&box, ScaleForDpi(kCheckBoxSlack, Dpi()), ScaleForDpi(kCheckBoxSlack, Dpi()));
        if (PtInRect(&box, click.ptAction)) {
            rows_.Toggle(static_cast<size_t>(click.iItem));
            ListView_RedrawItems(VTJotlets, click.iItem, click.iItem);
        }
    }
    UpdateButtonStates();
}

void TDlgExport::VTJotletsHeaderMouseUp(UINT button, POINT at) {
    HDHITTESTINFO hit{};
    hit.pt = at;
    int column = static_cast<int>(SendMessageW(ListView_GetHeader(VTJotlets), HDM_HITTEST, 0,
                                               reinterpret_cast<LPARAM>(&hit)));
    if (column != kCheckColumn || !(hit.flags & HHT_ONHEADER)) return;
    RECT box = HeaderCheckBox();
    InflateRect(&box, ScaleForDpi(kCheckBoxSlack, Dpi()), ScaleForDpi(kCheckBoxSlack, Dpi()));
    rows_.HeaderMouseUp(button == WM_LBUTTONUP && PtInRect(&box, at));
    SetHeaderState();
    RedrawRows();
    UpdateButtonStates();
}

LRESULT TDlgExport::VTJotletsCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        draw.nmcd.uItemState &= ~CDIS_FOCUS;
        return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
        const int row = static_cast<int>(draw.nmcd.dwItemSpec);
        RECT bounds{};
        ListView_GetItemRect(VTJotlets, row, &bounds, LVIR_BOUNDS);
        // Horizontal grid lines only.
        {
            const UniquePen pen(CreatePen(PS_SOLID, 1, ThemeColor(ThemeRole::Border)));
            const ScopedSelectObject selected(draw.nmcd.hdc, pen.get());
            MoveToEx(draw.nmcd.hdc, bounds.left, bounds.bottom - 1, nullptr);
            LineTo(draw.nmcd.hdc, bounds.right, bounds.bottom - 1);
        }
        if (rows_.NoteAt(static_cast<size_t>(row)))
            DrawCheckBox(draw.nmcd.hdc, CheckBoxInRow(row), rows_.Checked(static_cast<size_t>(row)));
        return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
    }
}

LRESULT CALLBACK TDlgExport::HeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) noexcept {
    auto* dialog = reinterpret_cast<TDlgExport*>(self);
    if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
        // After the header's own handling of the release, as the rule reads.
        LRESULT result = DefSubclassProc(header, message, wParam, lParam);
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        Guarded([&] { dialog->VTJotletsHeaderMouseUp(message, at); });
        return result;
    }
    if (message == WM_PAINT) {
        // The header box is drawn over the header's own painting of the check column.
        LRESULT result = DefSubclassProc(header, message, wParam, lParam);
        if (const WindowDc dc(header); dc) DrawCheckBox(dc.Get(), dialog->HeaderCheckBox(), dialog->rows_.HeaderChecked());
        return result;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(header, &HeaderProc, 1);
    return DefSubclassProc(header, message, wParam, lParam);
}

void TDlgExport::btnDeleteClick() {
    if (MessageBoxW(Handle(), W(kDeleteQuestion), W(kDeleteQuestionCaption), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // Quit while the question was open: the program ends, nothing is deleted.
    if (QuitPending()) return;
    actions_.deleteJotlets(rows_.CheckedIndexString(actions_.jotlets()));
    RefreshNoteList();
}

void TDlgExport::btnExportClick() {
    SaveDialog_.FileName = kSaveFileName;
    if (!SaveDialog_.ExecuteSave(Handle())) return;
    if (QuitPending()) return;
    if (IsDataFolderTarget(SaveDialog_.FileName, actions_.dataFolder)) {
        MessageBoxW(Handle(), W(kDataFolderRefused), W(kCaption), MB_OK | MB_ICONWARNING);
        return;
    }
    // The positions of the ticked notes as the list is now, after the save dialog.
    FSelectedIndexes = rows_.CheckedIndexString(actions_.jotlets());
    if (FSelectedIndexes.empty()) {
        // Every ticked note went while the save dialog was open.
        RefreshNoteList();
        return;
    }
    actions_.saveToFile(SaveDialog_.FileName, FSelectedIndexes);
    EndModal(ModalResult::OK);
}

void TDlgExport::btnCloseClick() { EndModal(ModalResult::Cancel); }

} // namespace vn
