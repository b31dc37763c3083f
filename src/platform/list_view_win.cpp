#include "platform/list_view_win.h"

#include <commctrl.h>

#include <algorithm>

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
            layout->prc->top += static_cast<int>(height) - layout->pwpos->cy;
            layout->pwpos->cy = static_cast<int>(height);
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
    int i = 0;
    for (const ListColumn& c : columns) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(c.text);
        column.cx = c.width;
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
        ++i;
    }
}

void ApplyThemeToList(HWND list) {
    if (!CurrentTheme() && !HighContrastOn()) return;
    ListView_SetBkColor(list, ThemeColor(ThemeRole::Edit));
    ListView_SetTextBkColor(list, ThemeColor(ThemeRole::Edit));
    ListView_SetTextColor(list, ThemeColor(ThemeRole::EditText));
}

void ApplyThemeToLists(HWND parent) {
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM) noexcept -> BOOL {
            wchar_t name[32] = {};
            if (GetClassNameW(child, name, 32) && lstrcmpiW(name, WC_LISTVIEWW) == 0) {
                ApplyThemeToList(child);
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
