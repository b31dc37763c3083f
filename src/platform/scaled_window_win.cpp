#include "platform/scaled_window_win.h"

#include <commctrl.h>

namespace vn {
namespace {

using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using LoadScaledIconFn = HRESULT(WINAPI*)(HINSTANCE, const wchar_t*, int, int, HICON*);

template <class Fn>
Fn ModuleFunction(const wchar_t* module, const char* name) noexcept {
    HMODULE loaded = GetModuleHandleW(module);
    return loaded ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

} // namespace

SIZE FrameForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) noexcept {
    static const AdjustForDpiFn forDpi = ModuleFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (!forDpi || !forDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        frame = {0, 0, client.cx, client.cy};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void SetClientSize(HWND window, SIZE client, const POINT* at) noexcept {
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE);
    SIZE outer = FrameForClient(client, style, exStyle, DpiOfWindow(window));
    SetWindowPos(window, nullptr, at ? at->x : 0, at ? at->y : 0, outer.cx, outer.cy, flags);
    RECT got{};
    GetClientRect(window, &got);
    if (got.right == client.cx && got.bottom == client.cy) return;
    outer.cx += client.cx - got.right;
    outer.cy += client.cy - got.bottom;
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void MoveToSuggested(HWND window, LPARAM suggested) noexcept {
    const auto* r = reinterpret_cast<const RECT*>(suggested);
    if (!r) return;
    SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT SuggestedCorner(LPARAM suggested) noexcept {
    const auto* r = reinterpret_cast<const RECT*>(suggested);
    return r ? POINT{r->left, r->top} : POINT{};
}

RECT ScaledControls::Scaled(const RECT& at96, int dpi) noexcept {
    // Edges are scaled, not sizes: neighbours that touch at 96 DPI still touch.
    return {ScaleForDpi(at96.left, dpi), ScaleForDpi(at96.top, dpi), ScaleForDpi(at96.right, dpi),
            ScaleForDpi(at96.bottom, dpi)};
}

void ScaledControls::Place(int dpi, HFONT font) const noexcept {
    for (const auto& [control, at96] : controls_) {
        const RECT r = Scaled(at96, dpi);
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

UniqueIcon LoadIconOfSize(HINSTANCE module, const wchar_t* name, int size) noexcept {
    // comctl32 6 scales a larger image down rather than a smaller one up.
    static const LoadScaledIconFn scaled = ModuleFunction<LoadScaledIconFn>(L"comctl32.dll", "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaled && SUCCEEDED(scaled(module, name, size, size, &icon)) && icon) return UniqueIcon(icon);
    return UniqueIcon(static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

} // namespace vn
