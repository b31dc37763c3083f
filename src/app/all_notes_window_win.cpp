#include "app/all_notes_window_win.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "note/rich_edit_keeper_win.h"
#include "platform/code_page_win.h"
#include "platform/list_view_win.h"
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
constexpr int kMargin = 10, kButtonWidth = 110, kButtonHeight = 26, kSearchHeight = 24;
constexpr int kDefaultWidth = 900, kDefaultHeight = 600, kMinWidth = 640, kMinHeight = 400;
constexpr COLORREF kHighlight = RGB(255, 235, 120);
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
    HFONT font = ThemeFont() ? ThemeFont() : font_.get();
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void AllNotesWindow::Create() {
    LoadRichEditOnce();
    RegisterClass(kClassName, CS_HREDRAW | CS_VREDRAW, ThemeBrush(ThemeRole::Window), nullptr,
                  LoadCursorW(nullptr, IDC_ARROW));
    if (!ThemeFont()) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
    }
    RECT place{0, 0, kDefaultWidth, kDefaultHeight};
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    OffsetRect(&place, std::max(0, (screenWidth - kDefaultWidth) / 2), std::max(0, (screenHeight - kDefaultHeight) / 2));
    // A remembered place that no monitor shows any more (a monitor unplugged) is not used.
    if (auto kept = actions_.loadPlacement ? actions_.loadPlacement() : std::nullopt;
        kept && kept->right - kept->left >= kMinWidth && kept->bottom - kept->top >= kMinHeight &&
        MonitorFromRect(&*kept, MONITOR_DEFAULTTONULL))
        place = *kept;
    // Owned by nothing and with WS_EX_APPWINDOW: the window has its own taskbar button.
    CreateNative(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kClassName, W(kCaption), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                 place.left, place.top, place.right - place.left, place.bottom - place.top, nullptr);
    if (HICON icon = LoadIconW(Instance(), L"MAINICON")) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
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
        column.cx = columns.begin[i].width;
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
    const int width = client.right - kMargin * 2;
    const int buttonsTop = client.bottom - kMargin - kButtonHeight;
    const int listTop = kMargin + kSearchHeight + 8;
    const int space = buttonsTop - 8 - listTop;
    const int listHeight = std::max(60, space * 55 / 100);
    HDWP moves = BeginDeferWindowPos(12);
    auto place = [&](HWND control, int x, int y, int w, int h) {
        if (moves) moves = DeferWindowPos(moves, control, nullptr, x, y, std::max(w, 0), std::max(h, 0),
                                          SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(search_, kMargin, kMargin, width, kSearchHeight);
    place(list_, kMargin, listTop, width, listHeight);
    place(preview_, kMargin, listTop + listHeight + 6, width, space - listHeight - 6);
    int x = kMargin;
    for (int id : bin_ ? kBinButtons : kNoteButtons) {
        const int w = id == kEmptyBinId || id == kDeleteForGoodId ? kButtonWidth + 20 : kButtonWidth;
        place(Button(id), x, buttonsTop, w, kButtonHeight);
        x += w + 8;
    }
    place(Button(kCloseId), client.right - kMargin - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight);
    place(status_, x + 4, buttonsTop + 5, client.right - kMargin - kButtonWidth - 8 - x - 4, kButtonHeight - 5);
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
        actions_.savePlacement(placement.rcNormalPosition);
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
    auto markRange = [&](size_t from, size_t to, bool marked) {
        CHARRANGE range{static_cast<LONG>(from), static_cast<LONG>(to)};
        SendMessageW(preview_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W mark = EmptyCharFormat();
        mark.dwMask = CFM_BACKCOLOR;
        mark.dwEffects = marked ? 0 : CFE_AUTOBACKCOLOR;
        mark.crBackColor = kHighlight;
        SendMessageW(preview_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&mark));
    };
    SendMessageW(preview_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(preview_, EM_SETREADONLY, FALSE, 0);
    for (const auto& [from, to] : marks_) markRange(from, to, false);
    for (const auto& [from, to] : ranges) markRange(from, to, true);
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
        info.ptMinTrackSize = {kMinWidth, kMinHeight};
        return 0;
    }
    case WM_CLOSE: Close(); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
        LRESULT result = 0;
        if (ThemeControlColor(message, wParam, result)) return result;
        break;
    }
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vn
