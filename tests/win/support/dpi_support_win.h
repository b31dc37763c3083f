#pragma once
// What the tests of the display scale share: the places of child windows, the font
// a control shows, and telling a window that its monitor's DPI changed. Wine gives
// every window the system's DPI, so the tests pin the program's DPI
// (PinDpiForTests) and send WM_DPICHANGED themselves.
#include <windows.h>

#include <vector>

#include "platform/dpi_win.h"

namespace vn::test {

// A child window's rectangle in its parent's client area.
inline RECT ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::vector<LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

inline LONG FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfHeight;
}

// Tells a window its monitor's DPI changed, as the system does, with the rectangle it
// suggests (here the window's own, so its corner stays).
inline void MoveToDpi(HWND window, int dpi) {
    PinDpiForTests(dpi);
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

} // namespace vn::test
