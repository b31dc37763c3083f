#include "app/all_notes_window_win.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "app/all_notes_layout.h"
#include "note/rich_edit_keeper_win.h"
#include "platform/code_page_win.h"
#include "platform/high_contrast_win.h"
#include "platform/list_view_win.h"
#include "platform/scaled_window_win.h"
#include "platform/text_codec.h"
#include "platform/text_win.h"
#include "platform/theme_win.h"
#include "store/check_states.h"

namespace vn {
namespace {

constexpr wchar_t kClassName[] = L"VantoryNote.AllNotes";
constexpr char16_t kCaption[] = u"All Notes";
constexpr char16_t kCueText[] = u"Search notes";
constexpr int kListId = 101, kSearchId = 102, kPreviewId = 103, kStatusId = 104;
constexpr size_t kMostMarks = 40;

struct ColumnSpec {
    RowColumn column;
    const wchar_t* text;
    int width;
};
constexpr ColumnSpec kNoteColumns[] = {{RowColumn::Title, L"Title", 215},  {RowColumn::Text, L"Text", 220},
                                       {RowColumn::State, L"State", 145},  {RowColumn::Owner, L"Owner", 90},
                                       {RowColumn::Created, L"Date && Time Created", 170}};
constexpr ColumnSpec kBinColumns[] = {{RowColumn::Title, L"Title", 180},  {RowColumn::Text, L"Text", 180},
                                      {RowColumn::Owner, L"Owner", 90},  {RowColumn::Created, L"Date && Time Created", 170},
                                      {RowColumn::Deleted, L"Deleted", 170}};

// Where the buttons of each mode stand, left to right; Close is always at the right.
constexpr int kNoteButtons[] = {AllNotesWindow::kShowId, AllNotesWindow::kStickId, AllNotesWindow::kDeleteId,
                                AllNotesWindow::kBinId};
constexpr int kBinButtons[] = {AllNotesWindow::kRestoreId, AllNotesWindow::kDeleteForGoodId,
                               AllNotesWindow::kEmptyBinId, AllNotesWindow::kBinId};

struct Columns {
    const ColumnSpec* begin;
    size_t size;
};
Columns ColumnsOf(bool bin) {
    if (bin) return {kBinColumns, std::size(kBinColumns)};
    return {kNoteColumns, std::size(kNoteColumns)};
}

void LoadRichEditOnce() {
    // The library stays loaded for the life of the process, as for the notes' editors.
    static const HMODULE library = LoadLibraryW(L"riched20.dll");
    (void)library;
}

std::u16string RichText(HWND control) {
    return RichEditText([control](UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageW(control, msg, wParam, lParam); });
}

std::u16string Number(size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

void ReplaceRange(HWND control, LONG from, LONG to, const std::u16string& text) {
    CHARRANGE range{from, to};
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(W(text)));
}

} // namespace

AllNotesWindow::AllNotesWindow(AllNotesActions actions, TimeLabelFormat timeFormat)
    : actions_(std::move(actions)), rows_(std::move(timeFormat)) {}

AllNotesWindow::~AllNotesWindow() { DestroyHandle(); }

HWND AllNotesWindow::AddControl(const wchar_t* className, const std::u16string& text, DWORD style, int id,
                                DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, className, W(text), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    if (!control) RaiseLastOSError();
    MarkOwn(control);
    if (HFONT font = Font()) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void AllNotesWindow::Create() {
    LoadRichEditOnce();
    RegisterClass(kClassName, CS_HREDRAW | CS_VREDRAW, ThemeBrush(ThemeRole::Window), nullptr,
                  LoadCursorW(nullptr, IDC_ARROW));
    // Centred on the primary monitor, whose DPI is the system's, unless a place was kept.
    dpi_ = DpiOfWindow(nullptr);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const WindowSize size = DefaultAllNotesSize(dpi_, {screenWidth, screenHeight});
    RECT place{0, 0, size.width, size.height};
    OffsetRect(&place, std::max(0, (screenWidth - size.width) / 2), std::max(0, (screenHeight - size.height) / 2));
    int placeDpi = dpi_;
    // A remembered place that no monitor shows any more (a monitor unplugged) is not used.
    if (auto kept = actions_.loadPlacement ? actions_.loadPlacement() : std::nullopt;
        kept && kept->rect.right - kept->rect.left >= MinimumAllNotesSize(kept->dpi).width &&
        kept->rect.bottom - kept->rect.top >= MinimumAllNotesSize(kept->dpi).height &&
        MonitorFromRect(&kept->rect, MONITOR_DEFAULTTONULL)) {
        place = kept->rect;
        placeDpi = kept->dpi;
    }
    // Owned by nothing and with WS_EX_APPWINDOW: the window has its own taskbar button.
    CreateNative(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kClassName, W(kCaption), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                 place.left, place.top, place.right - place.left, place.bottom - place.top, nullptr);
    // The DPI of the monitor it came on; a place kept at another scale keeps its corner
    // and takes the same share of the screen.
    dpi_ = DpiOfWindow(Handle());
    if (placeDpi != dpi_) {
        const WindowSize kept = KeptSizeAtDpi({place.right - place.left, place.bottom - place.top}, placeDpi, dpi_);
        SetWindowPos(Handle(), nullptr, 0, 0, kept.width, kept.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetIcons();
    // Made in tab order.
    search_ = AddControl(L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, kSearchId, WS_EX_CLIENTEDGE);
    SendMessageW(search_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(W(kCueText)));
    list_ = AddControl(WC_LISTVIEWW, u"", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, kListId,
                       WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
    ApplyThemeToList(list_);
    preview_ = AddControl(L"RICHEDIT20W", u"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                          kPreviewId, WS_EX_CLIENTEDGE);
    const struct {
        int id;
        const char16_t* text;
    } buttons[] = {{kShowId, u"Show"},           {kStickId, u"Stick to Window"},
                   {kDeleteId, u"Delete"},       {kRestoreId, u"Restore"},
                   {kDeleteForGoodId, u"Delete for Good"}, {kEmptyBinId, u"Empty Recycle Bin"},
                   {kBinId, u"Recycle Bin"},     {kCloseId, u"Close"}};
    for (const auto& button : buttons) AddControl(L"BUTTON", button.text, WS_TABSTOP | BS_PUSHBUTTON, button.id);
    status_ = AddControl(L"STATIC", u"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kStatusId);
    SetColumns();
    Layout();
}

void AllNotesWindow::SetColumns() {
    while (ListView_DeleteColumn(list_, 0)) {}
    const Columns columns = ColumnsOf(bin_);
    for (size_t i = 0; i < columns.size; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(columns.begin[i].text);
        column.cx = ScaleForDpi(columns.begin[i].width, dpi_);
        column.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(list_, static_cast<int>(i), &column);
    }
    // The sort order shows as the header's arrow.
    HWND header = ListView_GetHeader(list_);
    for (size_t i = 0; i < columns.size; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, static_cast<int>(i), &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (columns.begin[i].column == rows_.SortColumn()) item.fmt |= rows_.SortAscending() ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, static_cast<int>(i), &item);
    }
}

void AllNotesWindow::Layout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    int widths[std::size(kNoteButtons)] = {};
    const auto& ids = bin_ ? kBinButtons : kNoteButtons;
    for (size_t i = 0; i < std::size(ids); ++i)
        widths[i] = ids[i] == kEmptyBinId || ids[i] == kDeleteForGoodId ? kAllNotesWideButtonWidth : kAllNotesButtonWidth;
    const AllNotesLayout layout = LayOutAllNotes(client.right, client.bottom, dpi_, widths);
    HDWP moves = BeginDeferWindowPos(12);
    auto place = [&](HWND control, const Box& b) {
        if (moves) moves = DeferWindowPos(moves, control, nullptr, b.x, b.y, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(search_, layout.search);
    place(list_, layout.list);
    place(preview_, layout.preview);
    for (size_t i = 0; i < std::size(ids); ++i) place(Button(ids[i]), layout.buttons[i]);
    place(Button(kCloseId), layout.close);
    place(status_, layout.status);
    if (moves) EndDeferWindowPos(moves);
    for (int id : {kShowId, kStickId, kDeleteId}) ShowWindow(Button(id), bin_ ? SW_HIDE : SW_SHOW);
    for (int id : {kRestoreId, kDeleteForGoodId, kEmptyBinId}) ShowWindow(Button(id), bin_ ? SW_SHOW : SW_HIDE);
}

void AllNotesWindow::Open() {
    if (!HasHandle()) Create();
    if (!open_) {
        open_ = true;
        bin_ = false;
        SetWindowTextW(search_, L"");
        rows_.SetQuery(u"");
        SetWindowTextW(Button(kBinId), L"Recycle Bin");
        SetColumns();
        Layout();
        Refresh();
        ShowWindow(Handle(), SW_SHOWNORMAL);
    } else if (IsIconic(Handle())) {
        ShowWindow(Handle(), SW_RESTORE);
    }
    SetForegroundWindow(Handle());
    SetFocus(search_);
    SendMessageW(search_, EM_SETSEL, 0, -1);
}

void AllNotesWindow::Close() {
    if (!open_) return;
    KeepPlacement();
    open_ = false;
    ShowWindow(Handle(), SW_HIDE);
    // The rows' texts are not kept while nobody looks at them.
    rows_.SetRows({}, nullptr);
    ListView_SetItemCountEx(list_, 0, 0);
    previewShown_ = false;
}

void AllNotesWindow::KeepPlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (actions_.savePlacement && GetWindowPlacement(Handle(), &placement))
        actions_.savePlacement({placement.rcNormalPosition, dpi_});
}

void AllNotesWindow::ShowBin(bool bin) {
    if (bin_ == bin) return;
    bin_ = bin;
    SetWindowTextW(Button(kBinId), bin ? L"All Notes" : L"Recycle Bin");
    if (!bin && rows_.SortColumn() == RowColumn::Deleted) rows_.SortBy(RowColumn::Created);
    SetColumns();
    Layout();
    Refresh();
}

void AllNotesWindow::Refresh() {
    if (!open_) return;
    const std::vector<uint64_t> selected = SelectedKeys();
    if (bin_) rows_.SetRows(actions_.binRows ? actions_.binRows() : std::vector<NoteRow>{}, nullptr);
    else rows_.SetRows(actions_.noteRows(), actions_.searchIndex());
    RowsChanged(selected);
}

void AllNotesWindow::NoteChanged(const NoteRow& row) {
    if (!open_ || bin_) return;
    const std::vector<uint64_t> selected = SelectedKeys();
    rows_.Update(row);
    RowsChanged(selected);
    if (previewShown_ && row.key == previewKey_) UpdatePreview();
}

void AllNotesWindow::NoteRemoved(uint64_t key) {
    if (!open_ || bin_) return;
    const std::vector<uint64_t> selected = SelectedKeys();
    rows_.Remove(key);
    RowsChanged(selected);
}

void AllNotesWindow::RefreshStates(const std::function<NoteState(uint64_t key)>& stateOf) {
    if (!open_ || bin_) return;
    if (rows_.UpdateStates(stateOf)) InvalidateRect(list_, nullptr, FALSE);
    UpdateButtons();
    UpdateStatus();
}

void AllNotesWindow::SetQuery(const std::u16string& typed) { SetWindowTextW(search_, W(typed)); }

void AllNotesWindow::SearchChanged() {
    const std::vector<uint64_t> selected = SelectedKeys();
    const bool wasShown = previewShown_;
    const uint64_t shownKey = previewKey_;
    rows_.SetQuery(ControlText(search_));
    RowsChanged(selected);
    // The marks follow the words also where the same note stays in the preview.
    if (wasShown && previewShown_ && previewKey_ == shownKey) UpdateHighlights();
}

// The list shows the rows anew; the selected notes that still show stay selected,
// and the first row is selected when none of them does.
void AllNotesWindow::RowsChanged(const std::vector<uint64_t>& keepSelected) {
    std::vector<size_t> positions;
    for (uint64_t key : keepSelected)
        if (auto at = rows_.PositionOf(key)) positions.push_back(*at);
    if (positions.empty() && rows_.size() > 0) positions.push_back(0);
    // A new count costs the list its scroll bars' layout (some milliseconds under
    // Wine): only when the count changed.
    quiet_ = true;
    if (ListView_GetItemCount(list_) != static_cast<int>(rows_.size()))
        ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
    quiet_ = false;
    Select(positions);
    InvalidateRect(list_, nullptr, FALSE);
}

void AllNotesWindow::Select(const std::vector<size_t>& positions) {
    // The same rows selected as before (the usual case while typing) ask nothing of the list.
    std::vector<size_t> now;
    for (int at = ListView_GetNextItem(list_, -1, LVNI_SELECTED); at >= 0; at = ListView_GetNextItem(list_, at, LVNI_SELECTED))
        now.push_back(static_cast<size_t>(at));
    if (now == positions && (positions.empty() || ListView_GetNextItem(list_, -1, LVNI_FOCUSED) ==
                                                      static_cast<int>(positions.front()))) {
        SelectionChanged();
        return;
    }
    quiet_ = true;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t i = 0; i < positions.size(); ++i) {
        const UINT state = LVIS_SELECTED | (i == 0 ? LVIS_FOCUSED : 0);
        ListView_SetItemState(list_, static_cast<int>(positions[i]), state, state);
    }
    if (!positions.empty()) ListView_EnsureVisible(list_, static_cast<int>(positions.front()), FALSE);
    quiet_ = false;
    SelectionChanged();
}

std::vector<uint64_t> AllNotesWindow::SelectedKeys() const {
    std::vector<uint64_t> keys;
    if (!list_) return keys;
    for (int at = ListView_GetNextItem(list_, -1, LVNI_SELECTED); at >= 0 && static_cast<size_t>(at) < rows_.size();
         at = ListView_GetNextItem(list_, at, LVNI_SELECTED))
        keys.push_back(rows_[static_cast<size_t>(at)].key);
    return keys;
}

void AllNotesWindow::SelectionChanged() {
    const std::vector<uint64_t> keys = SelectedKeys();
    const bool changed = keys.empty() ? previewShown_ : (!previewShown_ || keys.front() != previewKey_);
    if (changed) {
        previewShown_ = !keys.empty();
        previewKey_ = keys.empty() ? 0 : keys.front();
        UpdatePreview();
    }
    UpdateButtons();
    UpdateStatus();
}

void AllNotesWindow::UpdatePreview() {
    SendMessageW(preview_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(preview_, EM_SETREADONLY, FALSE, 0);
    marks_.clear();  // the marks go with the content
    if (!previewShown_) {
        SetWindowTextW(preview_, L"");
    } else {
        const std::string body = actions_.body(previewKey_, bin_);
        const bool rtf = body.rfind("{\\rtf", 0) == 0 || body.rfind("{\\urtf", 0) == 0;
        if (!rtf || !StreamIntoControl(preview_, SF_RTF, body)) {
            const std::u16string text = DecodeTextFile(body, SystemCodePage());
            SetWindowTextW(preview_, W(text));
        }
        // The ticks, as boxes in front of the lines, for a note that has any.
        const std::u16string states = actions_.checkStates(previewKey_, bin_);
        if (states.find(u'1') != std::u16string::npos) {
            const std::u16string text = RichText(preview_);
            std::vector<LONG> starts{0};
            for (size_t i = 0; i < text.size(); ++i)
                if (text[i] == u'\r' && i + 1 < text.size()) starts.push_back(static_cast<LONG>(i + 1));
            for (size_t line = std::min<size_t>(starts.size(), kCheckBoxCount); line-- > 0;)
                ReplaceRange(preview_, starts[line], starts[line],
                             CheckStateTicks(states, static_cast<int>(line)) ? u"\u2611 " : u"\u2610 ");
        }
    }
    SendMessageW(preview_, EM_SETREADONLY, TRUE, 0);
    SendMessageW(preview_, WM_SETREDRAW, TRUE, 0);
    UpdateHighlights();
}

void AllNotesWindow::UpdateHighlights() {
    std::vector<std::pair<size_t, size_t>> ranges;
    if (previewShown_ && !rows_.Query().Empty()) ranges = rows_.Query().Highlights(RichText(preview_));
    // Each mark costs the control a layout: a word of one letter in a long note
    // would take hundreds. The first ones show where the note matches.
    if (ranges.size() > kMostMarks) ranges.resize(kMostMarks);
    if (ranges == marks_) return;
    // A mark in high contrast has a text colour of its own; taking it off again would
    // not know the note's own colours, so the preview is read anew instead.
    if (HighContrastOn() && !marks_.empty()) {
        UpdatePreview();
        return;
    }
    SendMessageW(preview_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(preview_, EM_SETREADONLY, FALSE, 0);
    for (const auto& [from, to] : marks_) MarkRange(from, to, false);
    for (const auto& [from, to] : ranges) MarkRange(from, to, true);
    marks_ = std::move(ranges);
    CHARRANGE start{0, 0};
    SendMessageW(preview_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageW(preview_, EM_SETREADONLY, TRUE, 0);
    SendMessageW(preview_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(preview_, nullptr, TRUE);
}

void AllNotesWindow::UpdateButtons() {
    const std::vector<uint64_t> keys = SelectedKeys();
    const bool one = keys.size() == 1;
    EnableWindow(Button(kShowId), one && actions_.canShow && actions_.canShow(keys.front()));
    EnableWindow(Button(kStickId), one);
    EnableWindow(Button(kDeleteId), !keys.empty());
    EnableWindow(Button(kRestoreId), !keys.empty());
    EnableWindow(Button(kDeleteForGoodId), !keys.empty());
    EnableWindow(Button(kEmptyBinId), bin_ && rows_.TotalRows() > 0);
}

void AllNotesWindow::UpdateStatus() {
    std::u16string status;
    const size_t pending = bin_ || !actions_.textsPending ? 0 : actions_.textsPending();
    if (pending > 0) status = u"Still reading the text of " + Number(pending) + u" notes...";
    else if (!rows_.Query().Empty()) status = Number(rows_.size()) + u" of " +
                                              Number(rows_.TotalRows()) + u" notes match";
    if (ControlText(status_) != status) SetWindowTextW(status_, W(status));
}

void AllNotesWindow::ShowClick() {
    const std::vector<uint64_t> keys = SelectedKeys();
    if (keys.size() == 1 && actions_.canShow(keys.front())) actions_.show(keys.front());
    else MessageBeep(MB_OK);
}

void AllNotesWindow::DeleteClick() {
    const std::vector<uint64_t> keys = SelectedKeys();
    if (keys.empty()) return;
    actions_.deleteNotes(keys);
}

void AllNotesWindow::Command(int id, int code) {
    if (id == kSearchId) {
        if (code == EN_CHANGE) SearchChanged();
        return;
    }
    if (code != BN_CLICKED) return;
    const std::vector<uint64_t> keys = SelectedKeys();
    switch (id) {
    case kShowId: ShowClick(); break;
    case kStickId:
        if (keys.size() == 1) actions_.stickToWindow(keys.front());
        break;
    case kDeleteId: DeleteClick(); break;
    case kBinId: ShowBin(!bin_); break;
    case kCloseId: Close(); break;
    // The bin's list follows through Refresh, called by the controller once the bin
    // changed (as for a change made elsewhere): reading the bin again here would read
    // every body a second time.
    case kRestoreId:
        if (!keys.empty() && actions_.restore) actions_.restore(keys);
        break;
    case kDeleteForGoodId:
        if (!keys.empty() && actions_.deleteForGood) actions_.deleteForGood(keys);
        break;
    case kEmptyBinId:
        if (actions_.emptyBin) actions_.emptyBin();
        break;
    }
}

void AllNotesWindow::GetCellText(NMLVDISPINFOW& info) {
    if (!(info.item.mask & LVIF_TEXT) || info.item.iItem < 0 || static_cast<size_t>(info.item.iItem) >= rows_.size())
        return;
    const Columns columns = ColumnsOf(bin_);
    if (info.item.iSubItem < 0 || static_cast<size_t>(info.item.iSubItem) >= columns.size) return;
    std::u16string text = rows_.Cell(static_cast<size_t>(info.item.iItem), columns.begin[info.item.iSubItem].column);
    // A cell shows one line.
    std::replace_if(text.begin(), text.end(), [](char16_t c) { return c == u'\t' || c == u'\r' || c == u'\n'; }, u' ');
    CopyCellText(text, info.item.pszText, info.item.cchTextMax);
}

LRESULT AllNotesWindow::Notify(NMHDR& header) {
    if (header.hwndFrom != list_) return 0;
    switch (header.code) {
    case LVN_GETDISPINFOW: GetCellText(reinterpret_cast<NMLVDISPINFOW&>(header)); return 0;
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        if (!quiet_) SelectionChanged();
        return 0;
    case LVN_COLUMNCLICK: {
        const auto& click = reinterpret_cast<NMLISTVIEW&>(header);
        const Columns columns = ColumnsOf(bin_);
        if (click.iSubItem < 0 || static_cast<size_t>(click.iSubItem) >= columns.size) return 0;
        const std::vector<uint64_t> selected = SelectedKeys();
        rows_.SortBy(columns.begin[click.iSubItem].column);
        SetColumns();
        RowsChanged(selected);
        return 0;
    }
    case NM_DBLCLK:
        if (!bin_) ShowClick();
        return 0;
    }
    return 0;
}

bool AllNotesWindow::PreTranslate(MSG& msg) {
    if (!open_ || !HasHandle() || (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        if (ctrl && msg.wParam == 'F') {
            SetFocus(search_);
            SendMessageW(search_, EM_SETSEL, 0, -1);
            return true;
        }
        if (msg.hwnd == search_ && (msg.wParam == VK_DOWN || msg.wParam == VK_NEXT) && rows_.size() > 0) {
            SetFocus(list_);
            if (ListView_GetNextItem(list_, -1, LVNI_SELECTED) < 0) Select({0});
            return true;
        }
        if (msg.hwnd == list_ && msg.wParam == VK_DELETE && !bin_) {
            DeleteClick();
            return true;
        }
        if (msg.hwnd == list_ && ctrl && msg.wParam == 'A') {
            ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
            return true;
        }
        if (msg.wParam == VK_ESCAPE) {
            Close();
            return true;
        }
        if (msg.wParam == VK_RETURN && (msg.hwnd == search_ || msg.hwnd == list_)) {
            if (bin_) MessageBeep(MB_OK);
            else ShowClick();
            return true;
        }
    }
    return IsDialogMessageW(Handle(), &msg) != FALSE;
}

LRESULT AllNotesWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) Command(LOWORD(wParam), HIWORD(wParam));
        else if (LOWORD(wParam) == IDCANCEL) Close();
        return 0;
    case WM_NOTIFY: return Notify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_SIZE: Layout(); return 0;
    case WM_GETMINMAXINFO: {
        auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
        const WindowSize least = MinimumAllNotesSize(dpi_);
        info.ptMinTrackSize = {least.width, least.height};
        return 0;
    }
    case WM_CLOSE: Close(); return 0;
    case kDpiChangedMessage: PlaceForDpi(DpiOfChange(wParam), lParam); return 0;
    case WM_ERASEBKGND:
        if (EraseForContrast(reinterpret_cast<HDC>(wParam))) return 1;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
        LRESULT result = 0;
        if (ContrastColor(message, wParam, result) || ThemeControlColor(message, wParam, result)) return result;
        break;
    }
    }
    if (message == ContrastChangedMessage()) ContrastChanged();
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vn
