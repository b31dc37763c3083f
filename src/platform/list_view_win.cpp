#include "platform/list_view_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/dpi_win.h"
#include "platform/high_contrast_win.h"
#include "platform/theme_win.h"

namespace vn {

namespace {
constexpr UINT_PTR kHeaderHeightSubclass = 0x4848;

LRESULT CALLBACK HeaderHeightProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR height) noexcept {
    if (message == HDM_LAYOUT) {
        LRESULT result = DefSubclassProc(header, message, wParam, lParam);
        auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        if (result && layout && layout->pwpos && layout->prc) {
            const int scaled = ScaleForWindow(header, static_cast<int>(height));
            layout->prc->top += scaled - layout->pwpos->cy;
            layout->pwpos->cy = scaled;
        }
        return result;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(header, &HeaderHeightProc, kHeaderHeightSubclass);
    return DefSubclassProc(header, message, wParam, lParam);
}
} // namespace

void SetListHeaderHeight(HWND list, int height) {
    HWND header = ListView_GetHeader(list);
    if (!header) return;
    SetWindowSubclass(header, &HeaderHeightProc, kHeaderHeightSubclass, static_cast<DWORD_PTR>(height));
    LayOutListAgain(list);
}

void LayOutListAgain(HWND list) {
    // The list asks the header for its height only when its size changes (a frame
    // change is not enough: the header kept its own height then), so it is made a
    // pixel taller and given its size back.
    RECT r{};
    GetWindowRect(list, &r);
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(list, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + 1, flags | SWP_NOREDRAW);
    SetWindowPos(list, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, flags);
}

void AddListColumns(HWND list, std::initializer_list<ListColumn> columns) {
    const int dpi = DpiOfWindow(list);
    int i = 0;
    for (const ListColumn& c : columns) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(c.text);
        column.cx = ScaleForDpi(c.width, dpi);
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
        ++i;
    }
}

void ScaleListColumns(HWND list, int fromDpi, int toDpi) {
    if (fromDpi == toDpi) return;
    const int count = Header_GetItemCount(ListView_GetHeader(list));
    // Through the width at 96 DPI: a width set from a 96-DPI value comes back to that
    // value exactly, however often the list moves between scales.
    for (int i = 0; i < count; ++i)
        ListView_SetColumnWidth(list, i, ScaleForDpi(UnscaleForDpi(ListView_GetColumnWidth(list, i), fromDpi), toDpi));
}

namespace {
void ApplyListColours(HWND list, bool restoreDefault) {
    if (!CurrentTheme() && !HighContrastOn()) {
        // The list view's own colours, as it had them before any was given.
        if (restoreDefault) {
            ListView_SetBkColor(list, GetSysColor(COLOR_WINDOW));
            ListView_SetTextBkColor(list, CLR_DEFAULT);
            ListView_SetTextColor(list, CLR_DEFAULT);
        }
        return;
    }
    ListView_SetBkColor(list, ThemeColor(ThemeRole::Edit));
    ListView_SetTextBkColor(list, ThemeColor(ThemeRole::Edit));
    ListView_SetTextColor(list, ThemeColor(ThemeRole::EditText));
}
} // namespace

void ApplyThemeToList(HWND list) { ApplyListColours(list, false); }

void ApplyThemeToLists(HWND parent) {
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM) noexcept -> BOOL {
            wchar_t name[32] = {};
            if (GetClassNameW(child, name, 32) && lstrcmpiW(name, WC_LISTVIEWW) == 0) {
                ApplyListColours(child, true);
                InvalidateRect(child, nullptr, TRUE);
            }
            return TRUE;
        },
        0);
}

void CopyCellText(const std::u16string& text, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) return;
    const size_t length = std::min(text.size(), static_cast<size_t>(capacity - 1));
    std::copy_n(text.begin(), length, buffer);
    buffer[length] = L'\0';
}

} // namespace vn
