// The All Notes window's look: its DPI (fonts, icons, list columns and the layout
// follow the monitor it is on) and high contrast (the background, the list and the
// marked words take the system's colours while it is on).
#include "app/all_notes_window_win.h"

#include <commctrl.h>
#include <richedit.h>

#include "note/rich_edit_keeper_win.h"
#include "platform/high_contrast_win.h"
#include "platform/list_view_win.h"
#include "platform/scaled_window_win.h"
#include "platform/theme_win.h"

namespace vn {
namespace {

std::optional<COLORREF> ColorNow(AllNotesPart part) {
    const std::optional<Rgb> c = AllNotesColor(part, HighContrastOn(), CurrentSystemColors());
    if (!c) return std::nullopt;
    return ToColorRef(*c);
}

} // namespace

HFONT AllNotesWindow::Font() const { return ThemeFontForDpi(dpi_); }

void AllNotesWindow::SetIcons() {
    // Drawn for the sizes of the title bar and the task switcher at the window's DPI.
    UniqueIcon big = LoadIconOfSize(Instance(), L"MAINICON", SystemMetricForDpi(SM_CXICON, dpi_));
    UniqueIcon small = LoadIconOfSize(Instance(), L"MAINICON", SystemMetricForDpi(SM_CXSMICON, dpi_));
    if (big) SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    if (small) SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void AllNotesWindow::PlaceForDpi(int dpi, LPARAM suggested) {
    const int old = dpi_;
    dpi_ = dpi;
    if (old != dpi_) {
        HFONT font = Font();
        for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ScaleListColumns(list_, old, dpi_);
        SetIcons();
    }
    // The move lays the controls out for the new DPI (WM_SIZE); a move that keeps the
    // size would not.
    MoveToSuggested(Handle(), suggested);
    Layout();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void AllNotesWindow::ContrastChanged() {
    ApplyThemeToLists(Handle());
    // The marks take the colours of the mode: the preview is read anew and marked again.
    if (previewShown_) UpdatePreview();
}

bool AllNotesWindow::ContrastColor(UINT message, WPARAM wParam, LRESULT& result) const {
    const auto back = ColorNow(AllNotesPart::Background);
    const auto text = ColorNow(message == WM_CTLCOLORSTATIC ? AllNotesPart::StatusText : AllNotesPart::Text);
    if (!back || !text) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, *text);
    SetBkColor(dc, *back);
    // The device context's own brush, in the colour of the moment.
    SetDCBrushColor(dc, *back);
    result = reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    return true;
}

bool AllNotesWindow::EraseForContrast(HDC dc) const {
    const auto back = ColorNow(AllNotesPart::Background);
    if (!back) return false;  // the class brush, as always
    RECT client{};
    GetClientRect(Handle(), &client);
    SetDCBrushColor(dc, *back);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return true;
}

void AllNotesWindow::MarkRange(size_t from, size_t to, bool marked) {
    CHARRANGE range{static_cast<LONG>(from), static_cast<LONG>(to)};
    SendMessageW(preview_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W mark = EmptyCharFormat();
    mark.dwMask = CFM_BACKCOLOR;
    mark.dwEffects = marked ? 0 : CFE_AUTOBACKCOLOR;
    mark.crBackColor = ColorNow(AllNotesPart::MatchFace).value_or(0);
    // Normally the words keep the note's own colours; in high contrast they take the
    // highlight's text colour.
    if (const auto text = ColorNow(AllNotesPart::MatchText); marked && text) {
        mark.dwMask |= CFM_COLOR;
        mark.crTextColor = *text;
    }
    SendMessageW(preview_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&mark));
}

} // namespace vn
