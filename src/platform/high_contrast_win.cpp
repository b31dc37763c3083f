#include "platform/high_contrast_win.h"

#include "platform/window_win.h"

namespace vn {
namespace {

struct Flag {
    bool on = false;
    std::optional<bool> pinned;
    SystemColors painted;  // the system colours of the last repaint
};

bool SystemHighContrast() noexcept {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof(hc);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

Flag& State() noexcept {
    static Flag flag = [] {
        Flag f;
        f.on = SystemHighContrast();
        f.painted = CurrentSystemColors();
        return f;
    }();
    return flag;
}

BOOL CALLBACK RedrawOwnWindow(HWND window, LPARAM) noexcept {
    if (!Window::IsOwnNativeWindow(window)) return TRUE;
    SendMessageW(window, ContrastChangedMessage(), 0, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

} // namespace

bool HighContrastOn() noexcept { return State().on; }

void ReadHighContrast() noexcept {
    Flag& flag = State();
    flag.on = flag.pinned ? *flag.pinned : SystemHighContrast();
}

UINT ContrastChangedMessage() noexcept {
    static const UINT message = RegisterWindowMessageW(L"VantoryNote.ContrastChanged");
    return message;
}

void PinHighContrastForTests(std::optional<bool> on) noexcept { State().pinned = on; }

int SystemColorIndex(SystemColor color) noexcept {
    switch (color) {
    case SystemColor::Window: return COLOR_WINDOW;
    case SystemColor::WindowText: return COLOR_WINDOWTEXT;
    case SystemColor::ButtonFace: return COLOR_BTNFACE;
    case SystemColor::ButtonText: return COLOR_BTNTEXT;
    case SystemColor::Highlight: return COLOR_HIGHLIGHT;
    case SystemColor::HighlightText: return COLOR_HIGHLIGHTTEXT;
    case SystemColor::GrayText: return COLOR_GRAYTEXT;
    case SystemColor::Count: break;
    }
    return COLOR_WINDOW;
}

SystemColors CurrentSystemColors() noexcept {
    SystemColors colors;
    for (unsigned i = 0; i < static_cast<unsigned>(SystemColor::Count); ++i) {
        const COLORREF c = GetSysColor(SystemColorIndex(static_cast<SystemColor>(i)));
        colors.colors[i] = Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
    }
    return colors;
}

std::optional<COLORREF> ChromeColorNow(ChromePart part) noexcept {
    const std::optional<Rgb> c = ChromeColor(part, HighContrastOn(), CurrentSystemColors());
    if (!c) return std::nullopt;
    return ToColorRef(*c);
}

bool IsContrastChange(UINT message, WPARAM wParam) noexcept {
    return message == WM_SYSCOLORCHANGE || (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}

void RefreshForContrastChange() noexcept {
    Flag& flag = State();
    const bool wasOn = flag.on;
    ReadHighContrast();
    const SystemColors colors = CurrentSystemColors();
    // The system sends the change to every top-level window: only the first one to
    // see it repaints, or a thousand notes would each repaint all thousand.
    if (flag.on == wasOn && colors.colors == flag.painted.colors) return;
    flag.painted = colors;
    EnumThreadWindows(GetCurrentThreadId(), &RedrawOwnWindow, 0);
}

} // namespace vn
