#pragma once
// Small additions to the system's list view.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace vn {

// Makes the list's column header `height` pixels high at 96 DPI, scaled to the
// list's DPI (the header asks its own font otherwise), and lays the list out again.
void SetListHeaderHeight(HWND list, int height);
// Has the list lay out its header and rows again (after a change of DPI or font).
void LayOutListAgain(HWND list);

struct ListColumn {
    const wchar_t* text;
    int width;
};
// Adds report-view columns in this order (column i shows subitem i); the widths are
// at 96 DPI and scaled to the list's DPI.
void AddListColumns(HWND list, std::initializer_list<ListColumn> columns);
// Brings the widths of the list's columns (as the person may have dragged them) from
// `fromDpi` to `toDpi`.
void ScaleListColumns(HWND list, int fromDpi, int toDpi);
// The theme's list colours (Edit and EditText), when a theme is applied or high
// contrast is on.
void ApplyThemeToList(HWND list);

// ApplyThemeToList again for every list view among `parent`'s children: a list keeps
// the colours it was given, so a change of look hands them over anew (without a
// theme, the list's own default colours come back).
void ApplyThemeToLists(HWND parent);

// Copies `text` into the buffer of an LVN_GETDISPINFO request, cut to its size.
void CopyCellText(const std::u16string& text, wchar_t* buffer, int capacity);

} // namespace vn
