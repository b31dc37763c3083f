#pragma once
// What a window of the program needs to follow its DPI: the frame around a client
// area at a DPI, the move to the rectangle the system suggests in WM_DPICHANGED,
// child controls placed from their 96-DPI rectangles, and icons at the size asked.
// The newer functions are looked up at run time; where they are missing the system
// DPI's metrics are used.
#include <windows.h>

#include <utility>
#include <vector>

#include "platform/dpi_win.h"
#include "platform/unique_handle_win.h"

namespace vn {

// WM_DPICHANGED, newer than the headers' target system.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The DPI a WM_DPICHANGED brings.
inline int DpiOfChange(WPARAM wParam) noexcept { return LOWORD(wParam) > 0 ? LOWORD(wParam) : kBaseDpi; }

// The outer size of a window of `style` whose client area is `client` at `dpi`.
SIZE FrameForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) noexcept;

// Gives `window` a client area of `client` at its DPI, its outer corner at `at` (or
// where it is). The frame is measured once the window has it, so the client area
// comes out right also where the frame is not the one the DPI would give.
void SetClientSize(HWND window, SIZE client, const POINT* at = nullptr) noexcept;

// Moves `window` to the rectangle of a WM_DPICHANGED (lParam).
void MoveToSuggested(HWND window, LPARAM suggested) noexcept;
// The corner of the rectangle of a WM_DPICHANGED.
POINT SuggestedCorner(LPARAM suggested) noexcept;

// Child controls placed at their rectangles at 96 DPI, scaled to the window's DPI.
class ScaledControls {
public:
    void Add(HWND control, const RECT& at96) { controls_.emplace_back(control, at96); }
    // `at96` at `dpi`.
    static RECT Scaled(const RECT& at96, int dpi) noexcept;
    // Moves every control to its rectangle at `dpi` and gives it `font`.
    void Place(int dpi, HFONT font) const noexcept;

private:
    std::vector<std::pair<HWND, RECT>> controls_;
};

// The icon resource `name` of `module` (null: a system icon such as IDI_APPLICATION)
// at `size` x `size`, scaled down from a larger image where it has none of that size.
// The caller owns it.
UniqueIcon LoadIconOfSize(HINSTANCE module, const wchar_t* name, int size) noexcept;

} // namespace vn
