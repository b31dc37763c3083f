#pragma once
// Small additions to the system's list view.
#include <windows.h>

#include <string>

namespace vn {

// Makes the list's column header `height` pixels high (the header asks its own
// font otherwise) and lays the list out again.
void SetListHeaderHeight(HWND list, int height);

// Copies `text` into the buffer of an LVN_GETDISPINFO request, cut to its size.
void CopyCellText(const std::u16string& text, wchar_t* buffer, int capacity);

} // namespace vn
