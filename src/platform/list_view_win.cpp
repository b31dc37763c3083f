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
    // The list asks the header for its height only when it lays itself out.
    SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
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
    for (int i = 0; i < count; ++i) {
        const int width = ListView_GetColumnWidth(list, i);
        ListView_SetColumnWidth(list, i, MulDiv(width, toDpi, fromDpi));
    }
}

namespace {
void ApplyListColours(HWND list, bool restoreDefault) {
    if (!CurrentTheme() && !HighContrastOn()) {
        // The list view's own colours, as it had them before any was given.
        if (restoreDefault) {
            ListView_SetBkColor(list, GetSysColor(COLOR_WINDOW));
            ListView_SetTextBkColor(list, CLR_DEFAULT);
            ListView_SetTextColor(list, GetSysColor(COLOR_WINDOWTEXT));
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
